#pragma once

#include <string_view>

#include "symbology/Encoders.h"

namespace qv::symbology {

// A numeric symbology as the control runs it: the text is prepared first, and a failing
// preparation is the result.
template <typename Encoder>
Encoding EncodePrepared(Encoder encode, std::u16string_view text, bool calculateCheckDigit) {
    const PreparedText prepared = PrepareTextToEncode(text, calculateCheckDigit);
    if (prepared.code != kDrawn) {
        return {prepared.code, {}};
    }
    return encode(prepared.textToEncode);
}

}  // namespace qv::symbology
