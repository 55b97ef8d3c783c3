// Prints the text of the barcode in a picture file, read by an independent reader: the check
// of the tests that run the Qt examples (a form's picture, a PDF label rasterised).
//   qv_decode_barcode FILE
#include <ZXing/ReadBarcode.h>

#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv_decode_barcode FILE\n");
        return 2;
    }
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_Grayscale8);
    if (image.isNull()) {
        std::fprintf(stderr, "qv_decode_barcode: cannot read %s\n", argv[1]);
        return 2;
    }
    const ZXing::ImageView view(image.constBits(), image.width(), image.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(image.bytesPerLine()));
    const ZXing::Result result = ZXing::ReadBarcode(view);
    if (!result.isValid()) {
        std::fprintf(stderr, "qv_decode_barcode: no barcode read in %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", result.text().c_str());
    return 0;
}
