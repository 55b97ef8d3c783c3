// The designer: a form with one barcode control and its properties dialog.
//   qvbarcode-designer                   run the form
//   qvbarcode-designer --screenshot FILE  load a sample control, open its properties and
//                                         save a picture of the form and the dialog
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <cstdio>

#include "form/DesignerWindow.h"
#include "form/PageStyle.h"

namespace {

using qv::designer::DesignerWindow;

void LoadSample(qv::control::QvBarCode& control) {
    control.SetText(u"400638133393");
    control.SetBarCodeType(qv::control::QvTypeEan13);
    control.SetBarWidthSource(qv::control::kTrue);
    control.SetBackgroundWhite(qv::control::kTrue);
    control.SetShowValue(qv::control::kTrue);
    control.SetCalculateCheckDigit(qv::control::kTrue);
}

// The form on the left, the dialog on the right, on the window background.
QImage SideBySide(const QPixmap& form, const QPixmap& dialog, const QColor& background) {
    constexpr int kGap = 16;
    QImage picture(form.width() + dialog.width() + 3 * kGap,
                   std::max(form.height(), dialog.height()) + 2 * kGap, QImage::Format_RGB32);
    picture.fill(background);
    QPainter painter(&picture);
    painter.drawPixmap(kGap, kGap, form);
    painter.drawPixmap(form.width() + 2 * kGap, kGap, dialog);
    return picture;
}

int Screenshot(DesignerWindow& window, const QString& path) {
    LoadSample(*window.Barcode().Control());
    window.resize(420, 260);
    window.show();
    window.DrawBarcode();
    qv::designer::PropertiesDialog* dialog = window.OpenProperties();
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
    }
    const QImage picture = SideBySide(window.grab(), dialog->grab(),
                                      window.palette().color(QPalette::Window).darker(115));
    dialog->reject();
    if (!picture.save(path, "PNG")) {
        std::fprintf(stderr, "qvbarcode-designer: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qvbarcode-designer"));
    const QStringList arguments = QApplication::arguments();
    DesignerWindow window;
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--screenshot")) {
        return Screenshot(window, arguments[2]);
    }
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: qvbarcode-designer [--screenshot FILE]\n");
        return 2;
    }
    window.show();
    return QApplication::exec();
}
