// SPDX-License-Identifier: MIT
// Prints an EAN-13 label on a PDF page of 50 x 30 mm with the widget a form would show it in:
// render() draws the barcode into a box of the page at the page's own resolution, whole dots
// per module with the quiet zone EAN-13 wants, the caption at its printed size, and leaves the
// widget on the screen as it was.
//   print-label [FILE.pdf [TWELVE_DIGITS]]
#include <QApplication>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>

#include <qvbarcode/QvBarCodeWidget.h>

int main(int argc, char** argv) {
    // Printing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("label.pdf");

    QvBarCodeWidget barcode;
    barcode.setBarCodeType(QvBarCodeWidget::Ean13);
    barcode.setText(QString::fromLocal8Bit(argc > 2 ? argv[2] : "400638133393"));
    barcode.setCalculateCheckDigit(true);
    barcode.setBackgroundWhite(true);
    barcode.setShowValue(true);

    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QSizeF(50, 30), QPageSize::Millimeter, QStringLiteral("Label")));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(200);  // dots per inch: 3 dots, 0.38 mm, per module here
    const auto dots = [&writer](double mm) { return mm / 25.4 * writer.resolution(); };
    QPainter painter(&writer);
    const int code =
        barcode.render(&painter, QRectF(dots(2), dots(4), dots(46), dots(22)), writer.resolution());
    painter.end();
    if (code != 0) {  // a result code, or -1 for a failed call, which failed() told of
        std::fprintf(stderr, "print-label: nothing printed (result %d)\n", code);
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}
