// The properties dialog as a developer uses it: typing, tabbing, applying, closing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "QtTestApplication.h"
#include "form/DesignerWindow.h"

namespace qv::designer::test {
namespace {

class PropertiesDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        window_.show();
        dialog_ = window_.OpenProperties();
        ASSERT_TRUE(dialog_);
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
    QWidget* Focused() const { return QApplication::focusWidget(); }
    // Clicks a check box on its box, where a click toggles it.
    void Tick(const char* name) {
        auto* box = Field<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    // Types the text, steps down the type list from the loaded 0 and asks for the default size.
    void FillIn(const char* text, int typeSteps) {
        QTest::keyClicks(Enter("txtText"), text);
        auto* combo = Field<QComboBox>("Combo1");
        combo->setFocus();
        for (int i = 0; i < typeSteps; ++i) QTest::keyClick(combo, Qt::Key_Down);
        Tick("chkBarWidthSource");
    }

    DesignerWindow window_;
    QPointer<PropertiesDialog> dialog_;
};

TEST_F(PropertiesDialogTest, SizeBoxesTakeTypedDigitsOnlyUpToTheirLimit) {
    QLineEdit* width = Enter("txtBarWidth");
    QTest::keyClicks(width, "a-1x2. ");
    EXPECT_EQ(width->text(), "12");
    QTest::keyClicks(width, "34567");
    EXPECT_EQ(width->text(), "12345");
    EXPECT_EQ(dialog_->Page().txtBarWidth.Text(), u"12345");

    QLineEdit* text = Enter("txtText");
    QTest::keyClicks(text, "Ab-1");
    EXPECT_EQ(dialog_->Page().txtText.Text(), u"Ab-1") << "the text box takes anything";
}

TEST_F(PropertiesDialogTest, PastedNegativeWidthBeepsAndKeepsTheFocus) {
    QLineEdit* width = Enter("txtBarWidth");
    QApplication::clipboard()->setText(QStringLiteral("-5"));
    QTest::keyClick(width, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(width->text(), "-5") << "pasting is not typing";
    QTest::keyClick(width, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(Focused(), width);
    EXPECT_EQ(width->selectedText(), "-5") << "back in the box, its text is selected";
}

TEST_F(PropertiesDialogTest, TabFollowsTheFocusOrderOfThePage) {
    Enter("txtText");
    QStringList visited{Focused()->objectName()};
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(Focused(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        visited << Focused()->objectName();
    }
    EXPECT_EQ(visited,
              (QStringList{"txtText", "Combo1", "txtBarWidth", "txtBarHeight", "chkBarWidthSource",
                           "chkBackgroundWhite", "chkShowValue", "chkCalculateCheckDigit"}));
}

TEST_F(PropertiesDialogTest, ApplyIsOfferedWhileThePageIsChanged) {
    QPushButton& apply = dialog_->ApplyButton();
    QTest::mouseClick(&apply, Qt::LeftButton);
    EXPECT_FALSE(apply.isEnabled()) << "nothing left to apply";
    QTest::keyClicks(Enter("txtBarHeight"), "7");
    EXPECT_TRUE(apply.isEnabled());
    QTest::mouseClick(&apply, Qt::LeftButton);
    EXPECT_FALSE(apply.isEnabled());
    Tick("chkBackgroundWhite");
    EXPECT_TRUE(Field<QCheckBox>("chkBackgroundWhite")->isChecked());
    EXPECT_TRUE(apply.isEnabled());
}

TEST_F(PropertiesDialogTest, OkWritesThePageIntoTheControlWhichDraws) {
    FillIn("QV-39", 2);
    EXPECT_EQ(dialog_->Page().Combo1.ListIndex(), 2);
    EXPECT_FALSE(Field<QCheckBox>("chkCalculateCheckDigit")->isEnabled()) << "Code 39";
    EXPECT_EQ(Field<QLabel>("LblMsg")->text(), "Press <OK> Button to create Barcode");
    EXPECT_EQ(Field<QLabel>("LblMsg")->palette().color(QPalette::WindowText), QColor(0, 255, 0));

    QTest::mouseClick(&dialog_->OkButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog_.isNull()) << "a closed dialog is gone";

    const control::QvBarCode& control = *window_.Barcode().Control();
    EXPECT_EQ(control.Text(), u"QV-39");
    EXPECT_EQ(control.BarCodeType(), control::QvTypeCode39);
    EXPECT_EQ(control.BarWidthSource(), control::kTrue);
    EXPECT_EQ(control.ErrorFound(), control::kFalse);
    EXPECT_EQ(window_.Barcode().size(), QSize(control.Pic1().Width(), control.Pic1().Height()));
    EXPECT_NE(control.Pic1().Width(), 146) << "the control drew and took the barcode's size";
    EXPECT_EQ(window_.statusBar()->currentMessage(), "ErrorFound = False");
}

TEST_F(PropertiesDialogTest, FailedDrawingIsReportedWhenTheDialogCloses) {
    FillIn("12AB", 1);
    QTest::mouseClick(&dialog_->ApplyButton(), Qt::LeftButton);
    EXPECT_TRUE(Field<QLabel>("LblMsg")->text().contains(" ERROR: 1101  "));
    EXPECT_TRUE(window_.statusBar()->currentMessage().startsWith("ErrorFound = True: "));

    QString title;
    QString text;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(&dialog_->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(title, "QvBarCode");
    EXPECT_TRUE(text.startsWith("ERROR: 1101\r\n")) << text.toStdString();
}

TEST_F(PropertiesDialogTest, CaptionsShowAsTheAccessKeyConventionSays) {
    auto* defaultSize = Field<QCheckBox>("chkBarWidthSource");
    const QFontMetrics metrics(defaultSize->font());
    // Qt draws button captions with mnemonics processed: one "&" is what shows.
    EXPECT_EQ(metrics.size(Qt::TextShowMnemonic, defaultSize->text()),
              metrics.size(0, QStringLiteral("Use Default Width & Height.")));
    EXPECT_EQ(Field<QLabel>("lblText")->text(), "Barcode Text:");
    EXPECT_EQ(Field<QGroupBox>("Frame1")->title(), "Required Parameters: ");
    EXPECT_EQ(dialog_->windowTitle(), "QvBarCode Control");
}

TEST_F(PropertiesDialogTest, FieldsSitInTheirFramesWithThePageFonts) {
    auto* width = Field<QLineEdit>("txtBarWidth");
    EXPECT_EQ(width->parentWidget()->objectName(), "Frame2");
    EXPECT_EQ(width->geometry(), QRect(160, 20, 72, 22)) << "2400, 300, 1080, 330 twips";
    EXPECT_FALSE(width->font().bold()) << "not the frame's bold font";
    EXPECT_EQ(QFontInfo(Field<QLabel>("Label1")->font()).family(), "Comic Neue");
    EXPECT_EQ(QFontInfo(Field<QLabel>("LblMsg")->font()).family(), "DejaVu Sans");
    EXPECT_EQ(Field<QLabel>("Label3")->palette().color(QPalette::Window), QColor(255, 255, 192));
    EXPECT_EQ(Field<QLabel>("lblText")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

}  // namespace
}  // namespace qv::designer::test
