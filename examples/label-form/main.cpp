// SPDX-License-Identifier: MIT
// A form made in Qt Designer: LabelForm.ui holds a QvBarCodeWidget with its properties, and
// the widget draws its barcode by itself (AutoDraw); this file only shows the form.
//   label-form                 show the form
//   label-form --save FILE     save a picture of the form once the barcode is drawn, and end
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "ui_LabelForm.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget form;
    Ui::LabelForm ui;
    ui.setupUi(&form);
    form.show();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--save")) {
        // The form's layout takes the barcode's new size before the picture is taken.
        QObject::connect(ui.barCode, &QvBarCodeWidget::drawn, &form, [&](int code) {
            QTimer::singleShot(0, &form, [&, code] {
                const bool saved = code == 0 && form.grab().save(arguments[2]);
                if (!saved) std::fprintf(stderr, "label-form: nothing saved (result %d)\n", code);
                QApplication::exit(saved ? 0 : 1);
            });
        });
        QObject::connect(ui.barCode, &QvBarCodeWidget::failed, &form, [](const QString& why) {
            std::fprintf(stderr, "label-form: %s\n", qPrintable(why));
            QApplication::exit(1);
        });
    }
    return QApplication::exec();
}
