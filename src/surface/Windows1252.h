// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include <qvbarcode/host/Export.h>

namespace qv::surface {

// Captions reach the text operation in the Windows-1252 code page, as an 8-bit program
// would pass them. A character outside the code page becomes "?".
QV_EXPORT std::string EncodeWindows1252(std::u16string_view text);
QV_EXPORT std::u16string DecodeWindows1252(std::string_view text);

}  // namespace qv::surface
