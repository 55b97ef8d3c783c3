// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace qv::propertypage {

class QvBarCodePP;

// The captions the page is created with.
void SetInitialCaptions(QvBarCodePP& page);
// The captions of one language: "S" gives Spanish, any other code English.
void SetCaptions(QvBarCodePP& page, std::string_view languageCode);

// The status line's texts and the about label's text.
std::u16string_view CompleteMessage(std::string_view languageCode);
std::u16string_view IncompleteMessage(std::string_view languageCode);
std::u16string_view AboutText();

}  // namespace qv::propertypage
