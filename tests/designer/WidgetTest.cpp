// SPDX-License-Identifier: MIT
// The widget as a form and code use it: properties by the control's names, drawing on its
// own after changes, a size that follows the picture, failures that stay inside.
#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QSignalSpy>
#include <cctype>
#include <functional>
#include <string>
#include <tuple>

#include <qvbarcode/QvBarCodeWidget.h>
#include <qvbarcode/control/PropertyTable.h>
#include "QtTestApplication.h"

namespace qv::designer::test {
namespace {

// The widget's own properties are the property table's, with Qt's types for the control's,
// each also by Qt's name (`text` beside `Text`, not stored in forms), AutoDraw and quietZone
// besides; a write by either name reads back and notifies its new value. BarCodeType is an
// enumeration for Designer's list, yet keeps a value no symbology has, since the control
// stores any 32-bit value.
TEST(Widget, PropertiesAreTheControlsAndNotifyTheirNewValues) {
    QvBarCodeWidget widget;
    const QMetaObject& meta = QvBarCodeWidget::staticMetaObject;
    EXPECT_EQ(meta.propertyCount() - meta.propertyOffset(),
              2 * std::ssize(control::kProperties) + 2)
        << "the table's twice, AutoDraw and quietZone";
    int next = 0;
    for (const control::PropertyRow& row : control::kProperties) {
        std::string qtName(row.name);
        qtName[0] = static_cast<char>(std::tolower(qtName[0]));
        for (const std::string& name : {std::string(row.name), qtName}) {
            SCOPED_TRACE(name);
            const int index = meta.indexOfProperty(name.c_str());
            ASSERT_GE(index, meta.propertyOffset());
            const QMetaProperty property = meta.property(index);
            EXPECT_EQ(property.isStored(), name == row.name);
            const QVariant value =
                row.type == host::ValueType::String ? QVariant(QStringLiteral("QV39%1").arg(++next))
                : row.type == host::ValueType::Boolean ? QVariant(next++ % 2 == 0)
                                                       : QVariant(9 + ++next);
            const bool enumeration = row.type == host::ValueType::EnumBarCodeType;
            ASSERT_EQ(property.isEnumType(), enumeration);
            if (!enumeration) {
                ASSERT_EQ(property.metaType(), value.metaType());
            }
            ASSERT_EQ(property.isWritable(), row.Writable());
            if (!row.Writable()) continue;
            QSignalSpy notified(&widget, property.notifySignal());
            ASSERT_TRUE(widget.setProperty(name.c_str(), value));
            QVariant read = widget.property(name.c_str());
            read.convert(value.metaType());
            EXPECT_EQ(read, value);
            ASSERT_EQ(notified.size(), 1);
            EXPECT_EQ(notified[0][0], value);
        }
    }
    widget.setBarWidthSource(true);
    EXPECT_EQ(widget.Control().BarWidthSource(), control::kTrue) << "a Boolean as the control's";
    QSignalSpy autoDraw(&widget, &QvBarCodeWidget::autoDrawChanged);
    widget.setAutoDraw(false);
    EXPECT_EQ((std::tuple{autoDraw.size(), widget.Draw(), widget.property("ErrorFound"),
                          widget.property("ErrorDescription")}),
              std::tuple(1, 1100, QVariant(true), QVariant("Invalid Barcode Type")));
}

// Changes draw once, after the setters and outside them. The widget takes the picture's size
// again after a drawing of height 0. (A failed drawing: tests/entry.)
TEST(Widget, DrawsAfterChangesAndFollowsThePicture) {
    QvBarCodeWidget widget;
    widget.setQuietZone(0);
    QSignalSpy drawn(&widget, &QvBarCodeWidget::drawn);
    widget.setText(QStringLiteral("400638133393"));
    widget.setBarCodeType(control::QvTypeEan13);
    widget.setCalculateCheckDigit(true);
    widget.setBarWidth(190);
    widget.setBarHeight(0);  // on the way to 60, as a user types it
    EXPECT_EQ(drawn.size(), 0) << "no drawing inside a setter";
    QCoreApplication::processEvents();
    ASSERT_EQ(drawn.size(), 1);
    EXPECT_EQ(drawn[0][0].toInt(), 0);
    EXPECT_EQ(widget.height(), 0);

    // Without a quiet zone, at one device pixel per pixel, the widget shows the own surface's
    // pixels, also for a height that leaves the white frame no room for bars.
    widget.setBackgroundWhite(true);
    for (const int height : {60, 3}) {
        widget.setBarHeight(height);
        QCoreApplication::processEvents();
        const control::PictureBox& pic1 = widget.Control().Pic1();
        const QSize size(pic1.Width(), height);
        EXPECT_EQ(std::tuple(pic1.Height(), widget.size(), widget.sizeHint()),
                  std::tuple(height, size, size));
        EXPECT_EQ(FirstDifference(pic1.Image(), widget.grab().toImage()), "");
    }
}

// A failed drawing, a result code or a failed call, leaves the box empty and its size (and so
// its window's) as it was, even when the control sized its own picture before failing; in
// design mode the box shows the message instead.
TEST(Widget, AFailureKeepsTheSizeAndShowsItsMessageInDesignModeOnly) {
    struct Case {
        const char* what;
        std::function<void(QvBarCodeWidget&)> spoil;
        int code;
    };
    const Case cases[] = {
        {"a type no symbology has", [](QvBarCodeWidget& w) { w.setBarCodeType(7); }, 1100},
        {"a picture of over 64 million pixels",
         [](QvBarCodeWidget& w) {
             w.setBarWidthSource(false);
             w.setBarWidth(20000);
             w.setBarHeight(5000);
         },
         -1},
    };
    for (const Case& c : cases) {
        for (const bool designMode : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (designMode ? ", design mode" : ", run time"));
            QWidget window;
            auto* widget = new QvBarCodeWidget(&window);
            widget->setDesignMode(designMode);
            widget->setText(QStringLiteral("123456"));
            widget->setBarWidthSource(true);
            ASSERT_EQ(widget->Draw(), 0);
            window.adjustSize();
            const QSize drawnSize = widget->size(), windowSize = window.size();
            c.spoil(*widget);
            ASSERT_EQ(widget->Draw(), c.code);
            QCoreApplication::processEvents();
            EXPECT_TRUE(widget->errorFound());
            EXPECT_EQ(widget->size(), drawnSize);
            EXPECT_EQ(window.size(), windowSize);
            const QImage shown = widget->grab().toImage();
            QImage empty(shown.size(), shown.format());
            empty.fill(widget->palette().color(widget->backgroundRole()));
            EXPECT_EQ(shown != empty, designMode) << "inked";
        }
    }
}

}  // namespace
}  // namespace qv::designer::test
