// SPDX-License-Identifier: MIT
// The properties dialog as a developer uses it: typing, pasting, clicking, tabbing,
// applying, closing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTimer>

#include "OwnedWidget.h"
#include "PropertiesDialog.h"
#include "QtTestApplication.h"

namespace qv::designer::test {
namespace {

using pagedialog::PropertiesDialog;

class PropertiesDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.show();
        dialog_ = pagedialog::MakeOwned<PropertiesDialog>(window_, *barcode_, nullptr);
        dialog_->Open();
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_));
    }
    void TearDown() override {
        if (dialog_) dialog_->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename W>
    W* Field(const char* name) {
        auto* widget = qobject_cast<W*>(dialog_->View().WidgetFor(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Moves the focus into a box the way tabbing does, which selects its whole text.
    QLineEdit* Enter(const char* name) {
        QLineEdit* box = Field<QLineEdit>(name);
        box->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        return box;
    }

    QWidget window_;
    QvBarCodeWidget* barcode_ = pagedialog::MakeOwned<QvBarCodeWidget>(window_);
    QPointer<PropertiesDialog> dialog_;
};

// Entering a box by tab or by a click selects its text, so typing replaces it; the size
// boxes take digits alone up to their limit, typed or pasted, the text box anything.
TEST_F(PropertiesDialogTest, BoxesSelectOnEntryAndSizeBoxesTakeDigitsUpToTheirLimit) {
    barcode_->setText(QStringLiteral("OLD"));
    dialog_->Page().SelectionChanged();
    QLineEdit* width = Enter("txtBarWidth");
    EXPECT_EQ(width->geometry(), QRect(160, 20, 72, 22)) << "2400, 300, 1080, 330 twips";
    EXPECT_FALSE(width->font().bold()) << "the page's font, not its frame's";
    QTest::keyClicks(width, "a-1x2. 34567");
    EXPECT_EQ(width->text(), "12345");
    QApplication::clipboard()->setText(QStringLiteral("9876543210"));
    width->selectAll();
    QTest::keyClick(width, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(width->text(), "98765");
    QLineEdit* text = Field<QLineEdit>("txtText");
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(4, text->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(text->selectedText(), "OLD");
    QTest::keyClicks(text, "Ab-1234567");
    EXPECT_EQ(dialog_->Page().txtText.Text(), u"Ab-1234567");
}

TEST_F(PropertiesDialogTest, NegativeSizesSendTheFocusBackOnceAndCancelStillCloses) {
    barcode_->setBarWidth(-5);
    barcode_->setBarHeight(-7);
    dialog_->Page().SelectionChanged();
    QLineEdit* width = Enter("txtBarWidth");
    QLineEdit* height = Field<QLineEdit>("txtBarHeight");
    int heightFocused = 0;
    QObject::connect(qApp, &QApplication::focusChanged, height,
                     [&](QWidget*, QWidget* now) { heightFocused += now == height; });
    QTest::keyClick(width, Qt::Key_Tab);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), width);
    EXPECT_EQ(width->selectedText(), "-5") << "back in the box, its text is selected";
    EXPECT_EQ(heightFocused, 1) << "the focus went to the height box once and stayed out";

    QTest::mouseClick(&dialog_->CancelButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog_.isNull());
}

// Apply leaves nothing to apply; a typed field is something again. (OK and Apply writing the
// widget, and keeping the dialog open after a failed call: tests/entry.)
TEST_F(PropertiesDialogTest, ApplyIsOffUntilAChangeAndAFailedDrawingShowsOnOneStatusLine) {
    QPushButton& apply = dialog_->ApplyButton();
    QTest::mouseClick(&apply, Qt::LeftButton);
    EXPECT_FALSE(apply.isEnabled());
    QTest::keyClicks(Enter("txtText"), "12AB");
    EXPECT_TRUE(apply.isEnabled());
    auto* defaultSize = Field<QCheckBox>("chkBarWidthSource");
    QTest::mouseClick(defaultSize, Qt::LeftButton, {}, QPoint(8, defaultSize->height() / 2));
    QTest::mouseClick(&apply, Qt::LeftButton);
    auto* status = Field<QLabel>("LblMsg");
    const QString line = status->toolTip().isEmpty() ? status->text() : status->toolTip();
    EXPECT_TRUE(line.endsWith(" ERROR: 1101  Invalid Character Found In Barcode Text"))
        << line.toStdString();
    EXPECT_FALSE(status->wordWrap());
    EXPECT_LE(status->fontMetrics().horizontalAdvance(status->text()),
              status->contentsRect().width());

    QString text;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(&dialog_->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(text.startsWith("ERROR: 1101\r\n")) << text.toStdString();
}

TEST_F(PropertiesDialogTest, FieldsSitBelowTheirFramesCaptionAndBorderLine) {
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4"}) {
        auto* frame = Field<QGroupBox>(name);
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const auto part = [&](QStyle::SubControl control) {
            return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, control, frame);
        };
        const int clear =
            std::max(part(QStyle::SC_GroupBoxFrame).top() + 2,
                     option.text.isEmpty() ? 0 : part(QStyle::SC_GroupBoxLabel).bottom() + 1);
        for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_GE(child->y(), clear) << name << " " << child->objectName().toStdString();
    }
    auto* defaultSize = Field<QCheckBox>("chkBarWidthSource");
    const QFontMetrics metrics(defaultSize->font());
    // Qt draws button captions with mnemonics processed: one "&" is what shows.
    EXPECT_EQ(metrics.size(Qt::TextShowMnemonic, defaultSize->text()),
              metrics.size(0, QStringLiteral("Use Default Width & Height.")));
}

}  // namespace
}  // namespace qv::designer::test
