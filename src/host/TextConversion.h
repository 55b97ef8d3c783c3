// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include <qvbarcode/host/Export.h>

namespace qv::host {

// Automation text is UTF-16; programs around the library speak UTF-8. Ill-formed input
// becomes U+FFFD rather than being dropped.
QV_EXPORT std::u16string Utf8ToUtf16(std::string_view text);
QV_EXPORT std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace qv::host
