// SPDX-License-Identifier: MIT
// One failed call through every entry point (the C++ control's own: tests/control): an EAN-13 at
// BarWidth 99999 (95 modules of 1052 pixels, beyond 16 bits) is an overflow. Each entry ends it as
// its documentation says, keeps the error state of the drawing before (1104, a blank text), lets
// nothing escape, and draws again once the width fits.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QWidget>
#include <functional>
#include <tuple>

#include <qvbarcode/QvBarCodeWidget.h>
#include <qvbarcode/host/Status.h>
#include "OwnedWidget.h"
#include "cli/ProgramRun.h"
#include "designer/QtTestApplication.h"
#include "support/FailureOf.h"
#include "support/LoadedComponent.h"

namespace qv::entry {
namespace {

constexpr int kTooWide = 99999;
constexpr int kFits = 300;
const char16_t kKept[] = u"Barcode Text can NOT be Blank";

QStringList warnings;  // ours: Qt's own are left out

// Qt's entries: each writes Text and BarWidth its own way and draws. The widget's setters and
// slots report a failed call by failed(), a warning and its own ErrorFound, and keep their size
// (the dialog's OK: tests/designer/plugin).
TEST(FailedCall, QtEntriesReportItAndStayUsable) {
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtWarningMsg && text.startsWith("QvBarCode")) warnings << text;
        });
    QWidget window;
    struct Case {
        const char* entry;
        std::function<void(QvBarCodeWidget&, int)> drawWith;
    };
    const Case cases[] = {
        {"property writes, drawn by AutoDraw",
         [](QvBarCodeWidget& w, int width) {
             w.setProperty("Text", QStringLiteral("400638133393"));
             w.setProperty("BarWidth", width);
         }},
        {"the Draw slot",
         [](QvBarCodeWidget& w, int width) {
             w.setText(QStringLiteral("400638133393"));
             w.setBarWidth(width);
             int result = 0;
             QMetaObject::invokeMethod(&w, "Draw", Q_RETURN_ARG(int, result));
             EXPECT_EQ(result, width == kTooWide ? -1 : 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        QvBarCodeWidget& widget = *pagedialog::MakeOwned<QvBarCodeWidget>(window);
        widget.setBarCodeType(control::QvTypeEan13);
        widget.setCalculateCheckDigit(true);
        widget.setBarHeight(60);
        widget.setText(QStringLiteral(" "));
        QCoreApplication::processEvents();
        ASSERT_EQ(widget.errorDescription(), QString::fromUtf16(kKept));
        QSignalSpy drawn(&widget, &QvBarCodeWidget::drawn);
        QSignalSpy failed(&widget, &QvBarCodeWidget::failed);
        warnings.clear();
        const QSize before = widget.size();
        c.drawWith(widget, kTooWide);
        QCoreApplication::processEvents();
        ASSERT_EQ(std::tuple(drawn.size(), failed.size(), warnings.size()), std::tuple(0, 1, 1))
            << warnings.join('\n').toStdString();
        EXPECT_TRUE(warnings[0].contains("arithmetic overflow")) << warnings[0].toStdString();
        EXPECT_EQ(std::tuple(widget.Control().ErrorDescription(), widget.errorFound(),
                             widget.errorDescription(), widget.size()),
                  std::tuple(kKept, true, failed[0][0].toString(), before));

        c.drawWith(widget, kFits);
        QCoreApplication::processEvents();
        ASSERT_EQ(std::tuple(drawn.size(), warnings.size(), widget.errorFound()),
                  std::tuple(1, 1, false));
        EXPECT_EQ(drawn[0][0].toInt(), 0);
        EXPECT_EQ(widget.width(), widget.Control().Pic1().Width() + (11 + 7) * 3)
            << "the widget took the size of the picture and EAN-13's quiet zone";
    }
    qInstallMessageHandler(previous);
}

// The C interface: a failure status with the overflow reason from Draw and from the page's
// Apply, the control's error state kept.
TEST(FailedCall, TheExportsReturnItsStatus) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    testing::Object page(library.Create(QV_CLSID_QVBARCODEPP, QV_IID_QVBARCODEPP));
    std::int32_t own = -1;
    EXPECT_EQ(control.Draw(own), 1104);
    control.SetEan13();
    control.Let("BarWidth", testing::Int32(kTooWide));
    QvCallError error{};
    std::int32_t kept = -1;
    EXPECT_EQ(control.Draw(kept, &error), -1);
    EXPECT_EQ(kept, -1) << "a by-reference argument changes only when the call succeeds";
    EXPECT_EQ(std::pair(error.status, error.reason), std::pair(host::kOverflow, 1));
    QvDispatch* selected[] = {control.get()};
    ASSERT_EQ(library.setPageSite(page.get(), nullptr, nullptr, selected, 1, nullptr), QV_S_OK);
    error = {};
    EXPECT_EQ(library.applyPage(page.get(), &error), host::kOverflow);
    EXPECT_EQ(error.reason, QV_REASON_OVERFLOW);
    EXPECT_EQ(control.ReadText(library, "ErrorDescription"), kKept);
    control.Let("BarWidth", testing::Int32(kFits));
    EXPECT_EQ(control.Draw(own), 0);
}

// The program: status 3 and the reason for one barcode; in a batch the record's message, the
// other records written, status 1. Nothing it lets out aborts it.
TEST(FailedCall, TheProgramExitsWithItsStatus) {
    cli::test::ScratchDirectory dir;
    std::ofstream(dir / "list.csv") << "Text,BarWidth\n400638133393,99999\n400638133393,300\n";
    const std::string ean = "qvbarcode -t ean13 -c ";
    const cli::test::ProgramRun one = RunShell(dir, ean + "-d 400638133393 --width 99999 -o 1.png");
    EXPECT_EQ(one.status, 3);
    EXPECT_TRUE(cli::test::Holds(one.err, "qvbarcode: failed call: arithmetic overflow: "));
    const cli::test::ProgramRun batch = RunShell(dir, ean + "--batch list.csv -o '#.png'");
    EXPECT_EQ(batch.status, 1);
    EXPECT_TRUE(cli::test::Holds(batch.err,
                                 "record 1 (line 2) \"400638133393\": failed call: "
                                 "arithmetic overflow: "));
    EXPECT_FALSE(std::filesystem::exists(dir / "1.png"));
    EXPECT_TRUE(std::filesystem::exists(dir / "2.png"));
#ifndef __SANITIZE_ADDRESS__  // whose run-time cannot start under a memory limit
    // Memory running out outside the drawing: an --onto picture of 49M pixels read in 150 MB.
    const cli::test::ProgramRun starved = RunShell(
        dir,
        "qvbarcode -t code39 -d A --width 7000 --height 7000 -o big.png && ulimit -v 150000 "
        "&& qvbarcode -t code39 -d A --onto big.png -o out.png");
    EXPECT_EQ(starved.status, 3) << "not aborted";
    EXPECT_TRUE(cli::test::Holds(starved.err, "qvbarcode: failed call: out of memory\n"));
#endif
}

}  // namespace
}  // namespace qv::entry
