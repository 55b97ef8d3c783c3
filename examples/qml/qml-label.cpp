// SPDX-License-Identifier: MIT
// The QML label (main.qml beside this file) in a C++ program. Linking QvBarCode::quick brings
// the module QvBarCode along, so no import path is needed, and the program reaches each
// Barcode as the C++ type QvBarCodeItem.
//   qml-label MAIN.qml                 show the label
//   qml-label MAIN.qml --save FILE     save a picture of its first barcode, and end
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>

#include <qvbarcode/QvBarCodeItem.h>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2 && !(arguments.size() == 4 && arguments[2] == "--save")) {
        std::fprintf(stderr, "usage: qml-label MAIN.qml [--save FILE]\n");
        return 2;
    }
    QQmlApplicationEngine engine(arguments[1]);
    auto* window = engine.rootObjects().isEmpty()
                       ? nullptr
                       : qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    auto* barcode = window ? window->findChild<QvBarCodeItem*>() : nullptr;
    if (!barcode) {
        std::fprintf(stderr, "qml-label: no Barcode in %s\n", qPrintable(arguments[1]));
        return 1;
    }
    if (arguments.size() == 4) {
        // The frame after the drawing shows it.
        QObject::connect(barcode, &QvBarCodeItem::drawn, window, [=](int code) {
            QObject::connect(window, &QQuickWindow::frameSwapped, window, [=] {
                const QRectF box = barcode->mapRectToScene(barcode->boundingRect());
                const qreal ratio = window->effectiveDevicePixelRatio();
                const QRect pixels =
                    QRectF(box.topLeft() * ratio, box.size() * ratio).toAlignedRect();
                const bool saved =
                    code == 0 && window->grabWindow().copy(pixels).save(arguments[3]);
                if (!saved) std::fprintf(stderr, "qml-label: nothing saved (result %d)\n", code);
                QGuiApplication::exit(saved ? 0 : 1);
            });
            window->update();
        });
    }
    return QGuiApplication::exec();
}
