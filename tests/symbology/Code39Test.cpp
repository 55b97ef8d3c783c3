#include <gtest/gtest.h>

#include <string>

#include "host/FailedCall.h"
#include "symbology/Encoders.h"

namespace qv::symbology {
namespace {

constexpr const char* kStartStop = "100101101101";

struct Case {
    std::u16string input;
    std::int16_t code;
    std::string modules;
    const char* why;
};

// Start, gap, then each pattern with its gap, then stop.
std::string Framed(std::initializer_list<std::string_view> patterns) {
    std::string modules = std::string(kStartStop) + "0";
    for (const std::string_view pattern : patterns) {
        modules.append(pattern).push_back('0');
    }
    return modules + kStartStop;
}

TEST(Code39, EncodesTheUpperCasedTrimmedText) {
    const std::string a1 = Framed({"110101001011", "110100101011"});
    const Case cases[] = {
        {u"A", kDrawn, Framed({"110101001011"}), "38 modules"},
        {u"a1", kDrawn, a1, "lower case is encoded as upper case"},
        {u"  A1 ", kDrawn, a1, "surrounding spaces are not encoded"},
        {u"A*Z", kDrawn, Framed({"110101001011", kStartStop, "100110110101"}), "an inner asterisk"},
        {u"0 9", kDrawn, Framed({"101001101101", "100110101101", "101100101101"}),
         "an inner space"},
        {u"-.$/+%", kDrawn,
         Framed({"100101011011", "110010101101", "100100100101", "100100101001", "100101001001",
                 "101001001001"}),
         "the punctuation rows"},
        {u"zM", kDrawn, Framed({"100110110101", "110110101001"}), "both ends of the alphabet"},
        {u"A,B", kInvalidCharacter, "", "a comma"},
        {u"A_B", kInvalidCharacter, "", "an underscore"},
        {u"A\tB", kInvalidCharacter, "", "a tab"},
        {u"caf\u00E9", kInvalidCharacter, "", "a letter with a diacritic"},
        {u"\u00C9", kInvalidCharacter, "", "an upper-case letter with a diacritic"},
        {u"\u0131", kInvalidCharacter, "", "dotless i is not raised to I"},
        {u"\u017F", kInvalidCharacter, "", "long s is not raised to S"},
        {u"\uFF21", kInvalidCharacter, "", "a full-width A"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeCode39(c.input), (Encoding{c.code, c.modules})) << c.why;
    }
}

TEST(Code39, ModuleCountIsSixteenBit) {
    // 13 x 2518 + 25 = 32759; 2519 characters give 32772.
    EXPECT_EQ(EncodeCode39(std::u16string(2518, u'Q')).modules.size(), 32759u);
    EXPECT_THROW(EncodeCode39(std::u16string(2519, u'Q')), host::FailedCall);
    EXPECT_EQ(EncodeCode39(std::u16string(2519, u'Q') + u",").code, kInvalidCharacter);
}

}  // namespace
}  // namespace qv::symbology
