// The widget shows the control's own surface and takes the control's size.
#include <gtest/gtest.h>

#include <QPainter>

#include "QtTestApplication.h"
#include "widget/QvBarCodeWidget.h"

namespace qv::designer::test {
namespace {

void LoadEan13(control::QvBarCode& control) {
    control.SetText(u"400638133393");
    control.SetBarCodeType(control::QvTypeEan13);
    control.SetBarWidthSource(control::kTrue);
    control.SetBackgroundWhite(control::kTrue);
    control.SetCalculateCheckDigit(control::kTrue);
}

TEST(ControlWidget, FollowsTheOwnSurfaceAndShowsIt) {
    Application();
    QvBarCodeWidget widget;
    EXPECT_EQ(widget.size(), QSize(146, 76)) << "a new control is 2190 x 1140 twips";
    LoadEan13(*widget.Control());
    widget.show();

    ASSERT_EQ(widget.DrawOwnSurface().AsInt16(), 0);
    const control::PictureBox& pic1 = widget.Control()->Pic1();
    EXPECT_NE(pic1.Width(), 146);
    EXPECT_EQ(widget.size(), QSize(pic1.Width(), pic1.Height()));
    EXPECT_FLOAT_EQ(widget.Site().OuterWidth(), 15.0f * static_cast<float>(pic1.Width()));
    EXPECT_FLOAT_EQ(widget.Site().OuterHeight(), 15.0f * static_cast<float>(pic1.Height()));
    EXPECT_EQ(widget.Site().displaySetting(), 1);

    // What the widget paints is Pic1's image, pixel for pixel.
    const QImage shown = widget.grab().toImage();
    EXPECT_EQ(FirstDifference(pic1.Image(), shown), "");
}

TEST(ControlWidget, DrawingOntoACallersSurfaceHidesPic1AndKeepsTheSize) {
    Application();
    QvBarCodeWidget widget;
    LoadEan13(*widget.Control());
    ASSERT_EQ(widget.DrawOwnSurface().AsInt16(), 0);
    const QSize drawn = widget.size();

    QImage page(300, 140, QImage::Format_RGB32);
    page.fill(Qt::white);
    widget.Control()->SetPositionX(30);
    widget.Control()->SetPositionY(20);
    {
        QPainter painter(&page);
        ASSERT_EQ(widget.DrawOnto(painter, page.size()).AsInt16(), 0);
    }
    EXPECT_FALSE(widget.Control()->Pic1().Visible());
    EXPECT_EQ(widget.Site().displaySetting(), 0);
    EXPECT_EQ(widget.size(), drawn);
    EXPECT_EQ(widget.Control()->PositionX(), 30);
    // The first guard bar of the EAN-13 symbol starts at the position given, on white.
    EXPECT_EQ(page.pixelColor(29, 40), QColor(Qt::white));
    bool bar = false;
    for (int x = 30; x < 60 && !bar; ++x) bar = page.pixelColor(x, 40) == QColor(Qt::black);
    EXPECT_TRUE(bar);
}

TEST(ControlWidget, ReportsPropertyChangesByName) {
    Application();
    QvBarCodeWidget widget;
    QStringList names;
    QObject::connect(&widget, &QvBarCodeWidget::propertyChanged,
                     [&names](const QString& name) { names << name; });
    widget.Control()->SetText(u"1");
    widget.Control()->SetShowValue(control::kTrue);
    EXPECT_EQ(names, (QStringList{"Text", "ShowValue"}));
}

}  // namespace
}  // namespace qv::designer::test
