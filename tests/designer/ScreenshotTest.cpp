// A picture of the dialog on a real X display: it must show the page, not a blank window.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QSet>

#include "QtTestApplication.h"
#include "form/DesignerWindow.h"

namespace qv::designer::test {
namespace {

TEST(Screenshot, DialogShowsThePageOnAnXDisplay) {
    Application();
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "runs under Xvfb as the designer_screenshot test";
    }
    DesignerWindow window;
    control::QvBarCode& control = *window.Barcode().Control();
    control.SetText(u"400638133393");
    control.SetBarCodeType(control::QvTypeEan13);
    control.SetBarWidthSource(control::kTrue);
    window.show();
    window.DrawBarcode();
    PropertiesDialog* dialog = window.OpenProperties();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();

    const QImage picture = dialog->grab().toImage();
    const QString directory = qEnvironmentVariable("QV_SCREENSHOT_DIR", QDir::currentPath());
    ASSERT_TRUE(picture.save(directory + "/designer-dialog.png", "PNG"));

    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y) & 0xFFFFFF);
    }
    EXPECT_GE(colours.size(), 8);
    EXPECT_TRUE(colours.contains(qRgb(255, 255, 192) & 0xFFFFFF)) << "the yellow panel";
    EXPECT_TRUE(colours.contains(qRgb(0, 255, 0) & 0xFFFFFF)) << "the green status line";
    dialog->reject();
}

}  // namespace
}  // namespace qv::designer::test
