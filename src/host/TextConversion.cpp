// SPDX-License-Identifier: MIT
#include <qvbarcode/host/TextConversion.h>

#include <unicode/unistr.h>

namespace qv::host {

std::u16string Utf8ToUtf16(std::string_view text) {
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    return std::u16string(unicode.getBuffer(), static_cast<std::size_t>(unicode.length()));
}

std::string Utf16ToUtf8(std::u16string_view text) {
    const icu::UnicodeString unicode(text.data(), static_cast<int32_t>(text.size()));
    std::string result;
    unicode.toUTF8String(result);
    return result;
}

}  // namespace qv::host
