#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "propertypage/NumericValue.h"
#include "propertypage/QvBarCodePP.h"

namespace qv::propertypage {
namespace {

// The dialog builds the fields in this order, so a container must come before its fields.
// The tab order is checked where the dialog follows it.
TEST(PageLayout, FieldsStartAsLaidOut) {
    QvBarCodePP page(nullptr);
    std::vector<std::string> seen{"page"};
    for (const Field* field : page.Fields()) {
        EXPECT_NE(std::ranges::find(seen, field->Container()), seen.end()) << field->Name();
        if (field->Kind() == FieldKind::Frame) seen.push_back(field->Name());
    }
    EXPECT_EQ(page.LblMsg.Caption(), u".");
    EXPECT_EQ(page.Frame2.Caption(), u"Define Barcode Size or Use Default Values");
    EXPECT_EQ(page.Combo1.ListIndex(), -1);
    ASSERT_TRUE(page.Image1Picture());
    EXPECT_EQ(page.Image1Picture()->width(), 144);
    // Check boxes take 0, 1 or 2 (grey, not ticked).
    page.chkShowValue.SetValue(2);
    EXPECT_FALSE(page.chkShowValue.Ticked());
    EXPECT_THROW(page.chkShowValue.SetValue(3), host::FailedCall);
    EXPECT_EQ(page.chkShowValue.Value(), 2);
}

TEST(PageLayout, CaptionsShowWithTheAccessKeyConvention) {
    EXPECT_EQ(DisplayedCaption(u"Use Default Width && Height."), u"Use Default Width & Height.");
    EXPECT_EQ(DisplayedCaption(u"&Apply"), u"Apply");
    EXPECT_EQ(DisplayedCaption(u"a&&&b&"), u"a&b");
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
