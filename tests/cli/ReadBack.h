// SPDX-License-Identifier: MIT
// Pictures read back: barcodes by an independent reader, pages of documents rasterised.
#pragma once

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <qvbarcode/imagefile/PngFile.h>
#include "ProgramRun.h"

namespace qv::cli::test {

// The text of the one-dimensional barcode in a picture, or "not read".
inline std::string Decode(const surface::RasterSurface& picture) {
    const std::vector<std::uint8_t> pixels = picture.ContiguousPixels();
    const ZXing::ImageView image(pixels.data(), picture.width(), picture.height(),
                                 ZXing::ImageFormat::RGB, static_cast<int>(picture.RowBytes()));
    const ZXing::Result result = ZXing::ReadBarcode(
        image, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::LinearCodes));
    return result.isValid() ? result.text() : "not read";
}

// A page rasterised at a resolution, and a rectangle of it given in points.
struct Page {
    surface::RasterSurface image;
    double dpi = 150;

    Page Cut(double left, double top, double width, double height) const {
        const auto px = [&](double points) { return static_cast<int>(points * dpi / 72 + 0.5); };
        const int x0 = px(left), y0 = px(top), w = px(width), h = px(height);
        surface::RasterSurface cut(w, h);
        for (int y = 0; y < h; ++y) {
            std::copy_n(image.RowData(y0 + y) + 3 * x0, 3 * w, cut.WritableRowData(y));
        }
        return {std::move(cut), dpi};
    }
};

// What is inked on a page: left, top, right and bottom in points from its top-left, all -1
// when blank.
inline std::array<double, 4> InkBox(const Page& page) {
    const surface::RasterSurface& cut = page.image;
    int left = cut.width(), right = -1, top = cut.height(), bottom = -1;
    for (int y = 0; y < cut.height(); ++y) {
        for (int x = 0; x < cut.width(); ++x) {
            if (cut.RowData(y)[3 * x] < 128) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
        }
    }
    if (right < 0) return {-1, -1, -1, -1};
    const double points = 72 / page.dpi;
    return {left * points, top * points, right * points, bottom * points};
}

// Every page of a PDF file, or an EPS file's one, at dpi, named PREFIX-N.png in the folder.
inline std::vector<Page> Rasterise(const ScratchDirectory& dir, const std::string& document,
                                   const std::string& prefix = "page", int dpi = 150) {
    const std::string r = std::to_string(dpi) + " ", named = " '" + document + "' ";
    const ProgramRun run =
        RunShell(dir, (document.ends_with(".eps")
                           ? "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=png16m -r" + r +
                                 "-sOutputFile=" + prefix + "-1.png" + named
                           : "pdftoppm -png -r " + r + named + prefix) +
                          " && ls " + prefix + "-*.png");
    std::vector<Page> pages;
    std::istringstream names(run.out);
    for (std::string name; names >> name;)
        pages.push_back({imagefile::ReadPng(dir / name), 1.0 * dpi});
    return pages;
}

}  // namespace qv::cli::test
