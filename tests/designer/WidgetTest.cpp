// The widget as a form and code use it: properties by the control's names, drawing on its
// own after changes, a size that follows the picture, failures that stay inside.
#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QSignalSpy>

#include "QtTestApplication.h"
#include "QvBarCodeWidget.h"

namespace qv::designer::test {
namespace {

TEST(Widget, PropertiesCarryTheControlsNamesAndNotifyTheirNewValues) {
    Application();
    QvBarCodeWidget widget;
    struct Case {
        const char* name;
        QVariant value;
    };
    // BarCodeType keeps a value no symbology has: the control stores any 32-bit value.
    const Case cases[] = {
        {"Text", QStringLiteral("QV39")},
        {"BarCodeType", 9},
        {"PositionX", -5},
        {"PositionY", 7},
        {"BarHeight", 60},
        {"BarWidth", 300},
        {"BarWidthSource", true},
        {"BackgroundWhite", true},
        {"ShowValue", true},
        {"CalculateCheckDigit", true},
        {"AutoDraw", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QMetaProperty property =
            widget.metaObject()->property(widget.metaObject()->indexOfProperty(c.name));
        ASSERT_TRUE(property.isWritable());
        QSignalSpy notified(&widget, property.notifySignal());
        ASSERT_TRUE(widget.setProperty(c.name, c.value));
        EXPECT_EQ(widget.property(c.name), c.value);
        ASSERT_EQ(notified.size(), 1);
        EXPECT_EQ(notified[0][0], c.value) << notified[0][0].toString().toStdString();
    }
    EXPECT_EQ(widget.Control().BarWidthSource(), control::kTrue) << "a Boolean as the control's";
    EXPECT_EQ(widget.Draw(), 1100);
    EXPECT_EQ(widget.property("ErrorFound"), true);
    EXPECT_EQ(widget.property("ErrorDescription"), "Invalid Barcode Type");
    for (const char* readOnly : {"ErrorFound", "ErrorDescription"})
        EXPECT_FALSE(widget.setProperty(readOnly, QVariant())) << readOnly;
}

// Changes draw once, after the setters and outside them. The widget takes the picture's size
// again after a drawing of height 0. (A failed drawing: tests/entry.)
TEST(Widget, DrawsAfterChangesAndFollowsThePicture) {
    Application();
    QvBarCodeWidget widget;
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

    widget.setBarHeight(60);
    widget.setBackgroundWhite(true);
    QCoreApplication::processEvents();
    const control::PictureBox& pic1 = widget.Control().Pic1();
    EXPECT_EQ(pic1.Height(), 60);
    EXPECT_EQ(widget.size(), QSize(pic1.Width(), pic1.Height()));
    EXPECT_EQ(widget.sizeHint(), widget.size());
    EXPECT_EQ(FirstDifference(pic1.Image(), widget.grab().toImage()), "");
}

}  // namespace
}  // namespace qv::designer::test
