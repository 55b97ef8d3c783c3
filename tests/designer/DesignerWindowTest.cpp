// The form's own commands: drawing with its status line, and saving the picture.
#include <gtest/gtest.h>

#include <QStatusBar>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "QtTestApplication.h"
#include "form/DesignerWindow.h"
#include "imagefile/PngFile.h"

namespace qv::designer::test {
namespace {

TEST(DesignerWindow, DrawShowsTheControlsErrorState) {
    Application();
    DesignerWindow window;
    window.DrawBarcode();
    EXPECT_EQ(window.statusBar()->currentMessage(),
              "ErrorFound = True: Barcode Text can NOT be Blank");
    window.Barcode().Control()->SetText(u"4711");
    window.Barcode().Control()->SetBarWidthSource(control::kTrue);
    window.DrawBarcode();
    EXPECT_EQ(window.statusBar()->currentMessage(), "ErrorFound = False");
}

TEST(DesignerWindow, SavesTheBarcodeAsPngOrSvgAndKeepsItsSurface) {
    Application();
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    DesignerWindow window;
    control::QvBarCode& control = *window.Barcode().Control();
    control.SetText(u"QV39");
    control.SetBarCodeType(control::QvTypeCode39);
    control.SetBarWidthSource(control::kTrue);
    control.SetShowValue(control::kTrue);
    window.DrawBarcode();

    const QString png = directory.filePath("barcode.png");
    ASSERT_TRUE(window.SavePictureTo(png));
    EXPECT_EQ(
        FirstDifference(imagefile::ReadPng(png.toStdString()), window.Barcode().SurfaceImage()), "")
        << "the file holds what the form shows";

    const QString svg = directory.filePath("barcode.SVG");
    ASSERT_TRUE(window.SavePictureTo(svg));
    std::ifstream file(svg.toStdString());
    std::ostringstream document;
    document << file.rdbuf();
    EXPECT_NE(document.str().find("<svg"), std::string::npos);
    EXPECT_TRUE(control.Pic1().Visible()) << "saving draws with a control of its own";

    control.SetBarCodeType(7);
    EXPECT_FALSE(window.SavePictureTo(directory.filePath("bad.png")));
    EXPECT_FALSE(QFile::exists(directory.filePath("bad.png")));
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("Not saved: "));
}

}  // namespace
}  // namespace qv::designer::test
