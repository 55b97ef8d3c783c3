// SPDX-License-Identifier: MIT
// Reads a greyscale PGM picture and prints the barcode found in it, "format text", with an
// independent decoder; exit status 1 when none is found. A test tool for the host examples.
#include <ZXing/ReadBarcode.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qv_decode_pgm FILE.pgm\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string magic;
    int width = 0, height = 0, levels = 0;
    in >> magic >> width >> height >> levels;
    in.get();  // the one blank before the pixels
    const std::vector<std::uint8_t> pixels(std::istreambuf_iterator<char>(in), {});
    if (magic != "P5" || levels != 255 || width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * height) {
        std::cerr << argv[1] << ": not an 8-bit binary PGM picture\n";
        return 2;
    }
    const ZXing::ImageView image(pixels.data(), width, height, ZXing::ImageFormat::Lum);
    const ZXing::Result result = ZXing::ReadBarcode(image);
    if (!result.isValid()) return 1;
    std::cout << ZXing::ToString(result.format()) << ' ' << result.text() << '\n';
    return 0;
}
