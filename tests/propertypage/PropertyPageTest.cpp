// SPDX-License-Identifier: MIT
// The page against a fake property dialog holding one real control, and its layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <tuple>

#include <qvbarcode/propertypage/NumericValue.h>
#include <qvbarcode/propertypage/QvBarCodePP.h>
#include "support/FakePageHost.h"

namespace qv::propertypage {
namespace {

using testing::FakePageHost;

constexpr std::u16string_view kComplete = u"Press <OK> Button to create Barcode";
constexpr std::u16string_view kIncomplete = u"Please Enter ALL Required Parameters!";
constexpr bool kLoaded = true;

struct Page {
    std::shared_ptr<FakePageHost> host = std::make_shared<FakePageHost>();
    std::unique_ptr<QvBarCodePP> page = std::make_unique<QvBarCodePP>(host);
    QvBarCodePP* operator->() { return page.get(); }

    // A control ready to draw an EAN-13, loaded into the page.
    void Load() {
        host->control->SetText(u"5901234123457");
        host->control->SetBarCodeType(3);
        host->control->SetBarWidth(190);
        host->control->SetBarHeight(50);
        host->control->SetShowValue(-1);
        page->SelectionChanged();
        host->changed = false;
    }
    explicit Page(bool loaded = false) {
        if (loaded) Load();
    }
    std::vector<std::u16string> Closed() {
        page.reset();
        return host->messageBoxes;
    }
};

TEST(PageEditing, SelectionLoadsTheFirstControlAndEvaluatesTheStatusLast) {
    Page page;
    page.host->control->SetCalculateCheckDigit(-1);
    page.host->control->SetBackgroundWhite(3);  // an odd non-True value still ticks: 3 & 1
    page.host->control->SetBarCodeType(7);      // the list cannot show it
    page.host->control->SetBarWidth(-5);
    page.host->control->SetText(u" x ");
    page->SelectionChanged();

    EXPECT_EQ(std::tuple(page->chkCalculateCheckDigit.Value(), page->chkBackgroundWhite.Value(),
                         page->Combo1.ListIndex(), page->chkCalculateCheckDigit.Enabled()),
              std::tuple(1, 1, -1, false));
    EXPECT_EQ(std::tuple(page->txtBarWidth.Text(), page->txtBarHeight.Text(), page->txtText.Text(),
                         page->LblMsg.Caption()),
              std::tuple(u"-5", u"0", u" x ", kIncomplete));
    EXPECT_TRUE(page.host->changed);
    EXPECT_EQ(page->LanguageCode(), "E");

    // Without a selection the page still evaluates, and applies nothing.
    Page none;
    none.host->selected = false;
    none->SelectionChanged();
    none->txtText.SetText(u"1");
    none->ApplyChanges();
    EXPECT_EQ(std::tuple(none.host->control->Text(), none->LblMsg.Caption()),
              std::tuple(u"", kIncomplete));
}

TEST(PageEditing, CompletenessNeedsTextTypeAndSizeOrTheDefaultSize) {
    struct Case {
        std::u16string text, width, height;
        int type, defaultSize;
        bool complete;
        const char* why;
    };
    const Case cases[] = {
        {u"123", u"100", u"50", 0, 0, true, "all given"},
        {u"   ", u"100", u"50", 0, 0, false, "blanks only"},
        {u"  1 ", u"100", u"50", 2, 0, true, "surrounding blanks are fine"},
        {u"123", u"100", u"50", -1, 0, false, "no type"},
        {u"123", u"0", u"50", 1, 0, false, "no width"},
        {u"123", u"0", u"50", 1, 1, true, "no width, but the default size"},
        {u"123", u"", u"", 3, 1, true, "no sizes, but the default size"},
        {u"123", u"12px", u"-3", 3, 0, false, "a negative height is not a size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Page page;
        page->Translate();
        page->txtText.SetText(c.text);
        page->Combo1.SetListIndex(c.type);
        page->txtBarWidth.SetText(c.width);
        page->txtBarHeight.SetText(c.height);
        page->chkBarWidthSource.SetValue(c.defaultSize);
        EXPECT_EQ(page->OKEnabled(), c.complete);
        EXPECT_EQ(page->LblMsg.Caption(), c.complete ? kComplete : kIncomplete);
        EXPECT_EQ(page->LblMsg.ForeColour(), c.complete ? 0x00FF00u : 0x0000FFu);
    }
}

// Among the check boxes only the default size re-evaluates the status; apply writes every
// field and draws only a complete page.
TEST(PageEditing, CheckBoxesMarkChangesAndApplyWritesEveryField) {
    Page page(kLoaded);
    page->LblMsg.SetCaption(u"stale");
    for (CheckBox* box :
         {&page->chkBackgroundWhite, &page->chkShowValue, &page->chkCalculateCheckDigit}) {
        page.host->changed = false;
        box->SetValue(box->Ticked() ? 0 : 1);
        EXPECT_TRUE(page.host->changed) << box->Name();
        EXPECT_EQ(page->LblMsg.Caption(), u"stale") << box->Name();
    }
    page->chkBarWidthSource.SetValue(1);
    EXPECT_EQ(page->LblMsg.Caption(), kComplete);

    page->Combo1.SetListIndex(2);  // Code 39 disables the check digit box but keeps its tick
    EXPECT_FALSE(page->chkCalculateCheckDigit.Enabled());
    page->txtText.SetText(u"  ");  // incomplete: written, not drawn
    page->txtBarWidth.SetText(u"");
    page->txtBarHeight.SetText(u"77");
    page->ApplyChanges();
    // An empty size box writes nothing; nothing was drawn, so no error 1104 either.
    const auto& c = *page.host->control;
    EXPECT_EQ(std::tuple(c.Text(), c.BarCodeType(), c.BarWidth(), c.BarHeight()),
              std::tuple(u"  ", 2, 190, 77));
    EXPECT_EQ(std::tuple(c.CalculateCheckDigit(), c.BackgroundWhite(), c.ShowValue(),
                         c.BarWidthSource(), c.ErrorFound(), page->LastDrawResult()),
              std::tuple(-1, -1, 0, -1, 0, 0));
    EXPECT_EQ(page->LblMsg.Caption(), kIncomplete);
    page->Combo1.SetListIndex(3);
    EXPECT_TRUE(page->chkCalculateCheckDigit.Enabled());
    EXPECT_TRUE(page.Closed().empty());
}

// An incomplete apply keeps the earlier failure to report; a successful drawing clears it.
TEST(PageEditing, AFailedDrawingIsTimedOnTheStatusLineAndReportedOnClosingUnlessRedrawn) {
    for (const bool redrawn : {false, true}) {
        SCOPED_TRACE(redrawn);
        Page page(kLoaded);
        page->txtText.SetText(u"59012341234X");
        page->ApplyChanges();
        EXPECT_EQ(page->LastDrawResult(), 1101);
        EXPECT_EQ(page->LblMsg.Caption(),
                  u"14:03:27 ERROR: 1101  Invalid Character Found In Barcode Text");
        EXPECT_EQ(page->LblMsg.ForeColour(), 0x00FF00u);

        page->txtText.SetText(redrawn ? u"5901234123457" : u"");
        page->ApplyChanges();
        EXPECT_EQ(page->LastDrawResult(), redrawn ? 0 : 1101);
        EXPECT_EQ(page->LblMsg.Caption(), redrawn ? kComplete : kIncomplete);
        // The report's text and style: the component's page site test.
        EXPECT_EQ(page.Closed().empty(), redrawn);
    }
}

TEST(PageEditing, SpanishUserGetsSpanishStatusButEnglishErrorWords) {
    Page page;
    page.host->language = "spanish";
    page.host->site->language = "Spanish";
    page.Load();
    EXPECT_EQ(page->LanguageCode(), "S");
    EXPECT_EQ(page->LblMsg.Caption(), u"Presione <OK> Para Generar Codigo de Barras");
    EXPECT_EQ(page->Frame1.Caption(), u"Parametros Requeridos: ");
    EXPECT_EQ(page->Combo1.Entries()[3], u"3 = EAN 13");
    page->txtText.SetText(u"");
    EXPECT_EQ(page->LblMsg.Caption(), u"Introduzca TODOS los Parametros Requeridos!");
    page->txtText.SetText(u"X");
    page->ApplyChanges();
    EXPECT_EQ(page->LblMsg.Caption().substr(8, 8), u" ERROR: ");
    EXPECT_EQ(page.Closed()[0].substr(0, 7), u"ERROR: ");
}

// Selecting on entry and filtering what is typed: the dialog's test (tests/designer).
TEST(PageEditing, SizeBoxesRefuseToBeLeftNegativeAndAllowOnlyNumbersNamesABox) {
    Page page(kLoaded);
    int focusRequests = 0;
    page->txtBarWidth.OnFocusRequested = [&] { ++focusRequests; };
    page->txtBarWidth.LostFocus();
    EXPECT_EQ(focusRequests + page.host->beeps, 0);
    page->txtBarWidth.SetText(u"-5");  // pasted: only typing is filtered
    page->txtBarWidth.LostFocus();
    EXPECT_EQ(focusRequests, 1);
    EXPECT_EQ(page.host->beeps, 1);

    // Before any selection: AllowOnlyNumbers sets the style bit of the box "W" or "H" names.
    Page fresh;
    for (const char16_t* flag : {u"X", u"w", u"", u"H", u"H"}) fresh->AllowOnlyNumbers(flag);
    EXPECT_EQ(fresh->txtBarWidth.Style(), kInitialEditStyle);
    EXPECT_EQ(fresh->txtBarHeight.Style(), kInitialEditStyle | kNumbersOnlyStyle);
}

// The dialog builds the fields in this order, so a container must come before its fields.
// The tab order is checked where the dialog follows it.
TEST(PageLayout, FieldsStartAsLaidOut) {
    QvBarCodePP page(nullptr);
    std::vector<std::string> seen{"page"};
    for (const Field* field : page.Fields()) {
        EXPECT_NE(std::ranges::find(seen, field->Container()), seen.end()) << field->Name();
        if (field->Kind() == FieldKind::Frame) seen.push_back(field->Name());
    }
    EXPECT_EQ(page.Frame2.Caption(), u"Define Barcode Size or Use Default Values");
    // Captions show with the access key convention.
    EXPECT_EQ(DisplayedCaption(u"Use Default Width && Height."), u"Use Default Width & Height.");
    EXPECT_EQ(DisplayedCaption(u"&Apply"), u"Apply");
    EXPECT_EQ(DisplayedCaption(u"a&&&b&"), u"a&b");
    EXPECT_TRUE(page.Image1Picture());
    // Check boxes take 0, 1 or 2 (grey, not ticked).
    page.chkShowValue.SetValue(2);
    EXPECT_FALSE(page.chkShowValue.Ticked());
    EXPECT_THROW(page.chkShowValue.SetValue(3), host::FailedCall);
    EXPECT_EQ(page.chkShowValue.Value(), 2);
}

// Each of the eight edit fields carries the name of the property it edits, with its kind's
// prefix; the list is Combo1. (A field for a read-only property fails the apply test.)
TEST(PageLayout, EditFieldsAreNamedAfterTheirProperties) {
    QvBarCodePP page(nullptr);
    std::set<control::Property> edited;
    for (const PropertyField& edit : PropertyFields()) {
        const Field& field =
            std::visit([&](auto member) -> const Field& { return page.*member; }, edit.field);
        const char* prefix = field.Kind() == FieldKind::CheckBox ? "chk" : "txt";
        EXPECT_EQ(field.Name(), field.Kind() == FieldKind::List
                                    ? "Combo1"
                                    : prefix + std::string(control::Row(edit.property).name));
        edited.insert(edit.property);
    }
    EXPECT_EQ(edited.size(), 8u);
}

TEST(PageLayout, NumericValueIsTheNumberATextBeginsWith) {
    const std::pair<std::u16string_view, double> cases[] = {
        {u"", 0},     {u"abc", 0},    {u"  12", 12}, {u"12abc", 12}, {u"-5", -5},     {u"+7", 7},
        {u"1 2", 12}, {u"1e3", 1000}, {u".5", 0.5},  {u"-", 0},      {u"3.5.1", 3.5}, {u"9e", 9},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_DOUBLE_EQ(NumericValueOf(text), value) << std::string(text.begin(), text.end());
    }
    EXPECT_LT(NumericValueOf(u"-1e999"), 0);  // beyond a double keeps its sign
    EXPECT_GT(NumericValueOf(std::u16string(400, u'9')), 0);
}

}  // namespace
}  // namespace qv::propertypage
