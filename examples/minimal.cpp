// SPDX-License-Identifier: MIT
// Draws an EAN-13 with its check digit on a white picture and saves it as a PNG.
#include <cstdio>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/imagefile/PngFile.h>
#include <qvbarcode/surface/RasterSurface.h>

int main(int argc, char** argv) {
    qv::control::QvBarCode barcode;
    barcode.SetBarCodeType(qv::control::BarcodeType::Ean13);
    barcode.SetText("400638133393");
    barcode.SetCalculateCheckDigit(true);
    barcode.SetShowValue(true);
    barcode.SetBarWidth(200);  // 95 modules of 2 pixels and a 5-pixel margin on each side
    barcode.SetBarHeight(80);
    barcode.SetBackgroundWhite(true);
    qv::surface::RasterSurface picture(200, 80);
    if (barcode.Draw(picture) != qv::control::ResultCode::Drawn) {  // ErrorDescription says why
        std::fprintf(stderr, "%s\n", barcode.ErrorDescriptionUtf8().c_str());
        return 1;
    }
    qv::imagefile::WritePng(picture, argc > 1 ? argv[1] : "ean13.png");
}
