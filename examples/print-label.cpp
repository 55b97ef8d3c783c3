// SPDX-License-Identifier: MIT
// Prints an EAN-13 label on a PDF page of 50 x 30 mm. The control draws through the
// painter surface at the page's own resolution, so the barcode's pixels are the page's
// device pixels and the label comes out at its physical size; its caption is set in the
// control's 8.25-point font at that resolution too.
//   print-label [FILE.pdf [TWELVE_DIGITS]]
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <cstdio>
#include <memory>

#include "QPainterSurface.h"
#include "control/QvBarCode.h"
#include "host/ControlSite.h"
#include "host/TextConversion.h"
#include "surface/Font.h"

int main(int argc, char** argv) {
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("label.pdf");
    const char* digits = argc > 2 ? argv[2] : "400638133393";

    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QSizeF(50, 30), QPageSize::Millimeter, QStringLiteral("Label")));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(200);  // dots per inch: 3 dots, 0.38 mm, per module here
    const auto dots = [&writer](double mm) { return qRound(mm / 25.4 * writer.resolution()); };

    // Measured and drawn in one font, so that the caption fills the box cleared for it.
    const auto font = qv::surface::ControlFontAt(writer.resolution());
    qv::control::QvBarCode barcode(std::make_shared<qv::host::StandaloneSite>(), font);
    barcode.SetBarCodeType(qv::control::QvTypeEan13);
    barcode.SetText(qv::host::Utf8ToUtf16(digits));
    barcode.SetCalculateCheckDigit(qv::control::kTrue);
    barcode.SetBackgroundWhite(qv::control::kTrue);
    barcode.SetShowValue(qv::control::kTrue);
    barcode.SetPositionX(dots(5));
    barcode.SetPositionY(dots(4));
    barcode.SetBarWidth(dots(40));
    barcode.SetBarHeight(dots(22));

    QPainter painter(&writer);
    qv::widget::PainterSurfaceHandle surface(painter, QSize(dots(50), dots(30)));
    surface.surface().SetFont(font);
    qv::surface::SurfaceHandle hdc = surface.get();
    const std::int16_t code = barcode.Draw(hdc).AsInt16();
    painter.end();
    if (code != 0) {  // a result code: ErrorDescription says why
        std::fprintf(stderr, "%s\n", qv::host::Utf16ToUtf8(barcode.ErrorDescription()).c_str());
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}
