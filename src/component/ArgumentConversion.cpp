// SPDX-License-Identifier: MIT
#include <qvbarcode/component/ArgumentConversion.h>

#include <algorithm>
#include <cmath>

#include <qvbarcode/host/CheckedInt.h>
#include <qvbarcode/host/FailedCall.h>

namespace qv::component {
namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

[[noreturn]] void NotANumber() {
    throw host::FailedCall(host::FailureReason::InvalidValue, "text is not a whole number");
}

// Exact decimal parsing: digits accumulate in 64 bits and stop being accumulated once the
// value is certainly beyond 32 bits, so a thousand-digit text overflows instead of wrapping.
std::int32_t ParseWholeNumber(std::u16string_view text) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    constexpr std::int64_t kBeyond = std::int64_t{1} << 40;
    std::int64_t whole = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        whole = std::min(kBeyond, whole * 10 + (text[i] - u'0'));
    }
    const std::size_t wholeDigits = i;
    int firstFraction = -1;  // the first fraction digit decides the rounding, with the rest
    bool restNonZero = false;
    if (i < text.size() && text[i] == u'.') {
        for (++i; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            if (firstFraction < 0) {
                firstFraction = text[i] - u'0';
            } else if (text[i] != u'0') {
                restNonZero = true;
            }
        }
        if (wholeDigits == 0 && firstFraction < 0) NotANumber();
    } else if (wholeDigits == 0) {
        NotANumber();
    }
    if (i != text.size()) NotANumber();
    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && restNonZero) ||
                         (firstFraction == 5 && !restNonZero && whole % 2 == 1);
    if (roundUp) ++whole;
    return host::CheckedInt32(negative ? -whole : whole);
}

}  // namespace

std::int32_t ToWholeNumber(const host::Variant& value) {
    if (value.type() == host::Variant::Type::Text) return ParseWholeNumber(value.AsText());
    return value.AsInt32();
}

std::int16_t ToAutomationBool(const host::Variant& value) {
    if (value.type() == host::Variant::Type::Text) {
        std::u16string lower(Trimmed(value.AsText()));
        std::ranges::transform(lower, lower.begin(), [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
        });
        if (lower == u"true") return -1;
        if (lower == u"false") return 0;
        return host::Int16::From(ParseWholeNumber(lower)).value();
    }
    return value.AsInt16();
}

std::u16string ToText(const host::Variant& value) {
    switch (value.type()) {
        case host::Variant::Type::Text:
            return value.AsText();
        case host::Variant::Type::Bool:
            return value.AsBool() ? u"True" : u"False";
        case host::Variant::Type::Int16:
        case host::Variant::Type::Int32: {
            const std::string digits = std::to_string(value.AsInt32());
            return std::u16string(digits.begin(), digits.end());
        }
        case host::Variant::Type::Empty:
            break;
    }
    throw host::FailedCall(host::FailureReason::InvalidValue, "no value given for a text");
}

host::Variant ToValueOf(host::ValueType type, const host::Variant& value) {
    switch (type) {
        case host::ValueType::String:
            return host::Variant::FromText(ToText(value));
        case host::ValueType::Boolean:
            return host::Variant::FromAutomationBool(ToAutomationBool(value));
        case host::ValueType::Int32:
        case host::ValueType::EnumBarCodeType:
            return host::Variant::FromInt32(ToWholeNumber(value));
        case host::ValueType::Variant:
            break;
    }
    return value;
}

}  // namespace qv::component
