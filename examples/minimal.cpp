// SPDX-License-Identifier: MIT
// Draws an EAN-13 with its check digit on the control's own surface and saves it as a PNG.
#include <cstdio>

#include "control/QvBarCode.h"
#include "host/TextConversion.h"
#include "imagefile/PngFile.h"

int main(int argc, char** argv) {
    qv::control::QvBarCode barcode;
    barcode.SetBarCodeType(qv::control::QvTypeEan13);
    barcode.SetText(u"400638133393");
    barcode.SetCalculateCheckDigit(qv::control::kTrue);
    barcode.SetBarWidthSource(qv::control::kTrue);  // one pixel per module, 50 pixels high
    barcode.SetShowValue(qv::control::kTrue);
    if (barcode.Draw().AsInt16() != 0) {  // a result code: ErrorDescription says why
        std::fprintf(stderr, "%s\n", qv::host::Utf16ToUtf8(barcode.ErrorDescription()).c_str());
        return 1;
    }
    qv::imagefile::WritePng(barcode.Pic1().Image(), argc > 1 ? argv[1] : "ean13.png");
}
