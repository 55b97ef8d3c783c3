// SPDX-License-Identifier: MIT
// The widget and the QML example on a screen of any scale factor: ctest runs this program once
// per QT_SCALE_FACTOR (1, 1.25, 1.5, 2, 3), and every barcode grabbed from the window, device
// pixels as the screen shows them, reads back with ZXing. QV_GRABS names a folder that keeps
// the grabs as PNG files, for a look.
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickPaintedItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include <qvbarcode/QvBarCodeWidget.h>

namespace qv::quick::test {
namespace {

// One barcode in the grab, as "format text". (ZXing 1.4's reader of several asserts on them.)
std::string Read(const QImage& grab, const std::string& name) {
    if (const QString folder = qEnvironmentVariable("QV_GRABS"); !folder.isEmpty()) {
        grab.save(folder + '/' + QString::fromStdString(name) + '-' +
                  qEnvironmentVariable("QT_SCALE_FACTOR", "1") + ".png");
    }
    const QImage grey = grab.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(grey.bytesPerLine()));
    const ZXing::Result result = ZXing::ReadBarcode(view);
    return std::string(ZXing::ToString(result.format())) + ' ' + result.text();
}

// The widget as forms use it: Designer's new widget (one pixel per module, caption, on the
// form's grey), and a white EAN-13 sized by BarWidth.
TEST(ScaleFactor, WidgetsReadBack) {
    struct Case {
        const char* what;
        int type;
        const char* text;
        bool white;
        int barWidth;  // 0: BarWidthSource
        std::string expected;
    };
    const Case cases[] = {
        {"Designer's Code 39", 2, "QVBARCODE", false, 0, "Code39 QVBARCODE"},
        {"a label's EAN-13", 3, "400638133393", true, 300, "EAN-13 4006381333931"},
        {"Interleaved 2 of 5", 0, "12345670", true, 0, "ITF 12345670"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.setPalette(QPalette(QColor(0xE0, 0xE0, 0xE0)));
        auto* layout = new QVBoxLayout(&window);
        auto* barcode = new QvBarCodeWidget(&window);
        layout->addWidget(barcode);
        barcode->setText(QString::fromUtf8(c.text));
        barcode->setBarCodeType(c.type);
        barcode->setCalculateCheckDigit(c.type == 3);
        barcode->setBackgroundWhite(c.white);
        barcode->setShowValue(true);
        barcode->setBarWidthSource(c.barWidth == 0);
        barcode->setBarWidth(c.barWidth);
        barcode->setBarHeight(c.barWidth == 0 ? 50 : 80);
        window.show();
        ASSERT_EQ(barcode->Draw(), 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(Read(window.grab().toImage(), c.what), c.expected);
    }
}

TEST(ScaleFactor, TheQmlExampleReadsBack) {
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral(QV_QML_IMPORT_PATH));
    engine.load(QStringLiteral(QV_SOURCE_DIR "/examples/qml/main.qml"));
    ASSERT_EQ(engine.rootObjects().size(), 1);
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects()[0]);
    ASSERT_NE(window, nullptr);
    QSignalSpy swapped(window, &QQuickWindow::frameSwapped);
    // Drawn after the first frame; the next frame paints the drawing.
    while (swapped.size() < 3 && swapped.wait(5000)) window->update();
    const QImage grab = window->grabWindow();
    std::set<std::string> read;
    QQuickItem* article = nullptr;
    for (QQuickItem* item : window->findChildren<QQuickItem*>()) {
        if (item->metaObject()->className() != std::string("QvBarCodeItem")) continue;
        if (item->property("text") == "400638133393") article = item;
        EXPECT_EQ(item->property("errorFound"), false);
        // The item's own rectangle holds its quiet zone.
        const QRectF box = item->mapRectToScene(item->boundingRect());
        const qreal ratio = window->effectiveDevicePixelRatio();
        const QRect pixels = QRectF(box.topLeft() * ratio, box.size() * ratio).toAlignedRect();
        read.insert(
            Read(grab.copy(pixels), "qml-" + item->property("text").toString().toStdString()));
    }
    Read(grab, "qml-example");
    EXPECT_EQ(read, (std::set<std::string>{"EAN-13 4006381333931", "Code39 QVBARCODE"}));

    // Printing an item: into a box of a 300 dpi page, or one too narrow for its modules or
    // lower than its white frame (nothing painted around it), the item on the screen as it was.
    ASSERT_NE(article, nullptr);
    const QSizeF shown(article->implicitWidth(), article->implicitHeight());
    struct Case {
        QRectF target;
        int code;
    };
    for (const Case& c : {Case{{30, 20, 540, 260}, 0}, Case{{0, 0, 112, 260}, 1102},
                          Case{{30, 20, 540, 20}, 1102}}) {
        QImage page(600, 300, QImage::Format_RGB888);
        page.fill(Qt::white);
        QPainter painter(&page);
        int code = -2;
        ASSERT_TRUE(QMetaObject::invokeMethod(article, "render", Q_RETURN_ARG(int, code),
                                              Q_ARG(QPainter*, &painter), Q_ARG(QRectF, c.target),
                                              Q_ARG(qreal, 300)));
        painter.end();
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(Read(page, "qml-render"), c.code == 0 ? "EAN-13 4006381333931" : "None ");
    }
    EXPECT_EQ(QSizeF(article->implicitWidth(), article->implicitHeight()), shown);
    EXPECT_EQ(article->property("errorFound"), false);
}

// The item's failures: a result code or a failed call leaves it empty, says why, and keeps any
// value of its type.
TEST(ScaleFactor, TheItemTellsItsFailures) {
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral(QV_QML_IMPORT_PATH));
    struct Case {
        const char* properties;
        const char* signal;
        QVariant argument;
        const char* description;
    };
    const Case cases[] = {
        {"text: \"\"", "drawn", 1104, "Barcode Text can NOT be Blank"},
        {"text: \"1234\"; type: 7", "drawn", 1100, "Invalid Barcode Type"},
        {"text: \"QV\"; quietZone: 2147483647", "failed", "arithmetic overflow", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.properties);
        QQmlComponent component(&engine);
        component.setData(QByteArray("import QvBarCode\nBarcode { ") + c.properties + " }", {});
        const std::unique_ptr<QObject> item(component.create());
        ASSERT_NE(item, nullptr) << component.errorString().toStdString();
        QSignalSpy spy(item.get(), (std::string("2") + c.signal + "(" +
                                    (c.description ? "int" : "QString") + ")")
                                       .c_str());
        ASSERT_TRUE(spy.wait(5000));
        EXPECT_EQ(item->property("errorFound"), true);
        const QString description = item->property("errorDescription").toString();
        if (c.description) {
            EXPECT_EQ(spy[0][0], c.argument);
            EXPECT_EQ(description, c.description);
        } else {
            EXPECT_TRUE(description.startsWith(c.argument.toString())) << description.toStdString();
        }
        EXPECT_EQ(item->property("implicitWidth"), 0.0);
    }
}

// Switched to a fitted module, the item paints inside its area at once, before the drawing the
// switch asks for has run: not the plan for its own module, which was wider and higher.
TEST(ScaleFactor, AFittedModuleStaysInsideAtOnce) {
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral(QV_QML_IMPORT_PATH));
    QQmlComponent component(&engine);
    component.setData(
        "import QvBarCode\nBarcode { text: \"400638133393\"; type: 3; checkDigit: true; "
        "width: 300; height: 20 }",
        {});
    const std::unique_ptr<QObject> object(component.create());
    auto* item = qobject_cast<QQuickPaintedItem*>(object.get());
    ASSERT_NE(item, nullptr) << component.errorString().toStdString();
    QSignalSpy drawn(item, SIGNAL(drawn(int)));
    ASSERT_TRUE(drawn.wait(5000));
    const auto paintedOutside = [item] {
        QImage image(400, 100, QImage::Format_RGB32);
        image.fill(Qt::red);
        {
            QPainter painter(&image);
            painter.translate(50, 40);
            item->paint(&painter);
        }
        const QRect own(50, 40, 300, 20);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != qRgb(255, 0, 0) && !own.contains(x, y)) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(paintedOutside());
    item->setProperty("autoModule", true);
    EXPECT_FALSE(paintedOutside());
}

}  // namespace
}  // namespace qv::quick::test
