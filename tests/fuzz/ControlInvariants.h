#pragma once

#include <string>

#include "FuzzCheck.h"
#include "control/QvBarCode.h"
#include "control/ResultMessages.h"
#include "host/Variant.h"

namespace qv::fuzz {

struct ErrorState {
    std::int16_t found = 0;
    std::u16string description;
    friend bool operator==(const ErrorState&, const ErrorState&) = default;
};

inline ErrorState ErrorStateOf(const control::QvBarCode& control) {
    return {control.ErrorFound(), control.ErrorDescription()};
}

inline bool IsResultCode(std::int16_t code) {
    return code == 0 || (code >= 1100 && code <= 1104);
}

// The error state is always one a Draw could have left, whoever drew last.
inline void CheckErrorStateIsConsistent(const control::QvBarCode& control) {
    const ErrorState state = ErrorStateOf(control);
    QV_REQUIRE(state.found == control::kTrue || state.found == control::kFalse);
    QV_REQUIRE((state.found == control::kTrue) == !state.description.empty());
}

// What a Draw that returned must leave: a known code as a 16-bit Variant, and the error
// state that says exactly that code in the user's language (nothing for 0).
inline std::int16_t CheckDrawResult(const control::QvBarCode& control, const host::Variant& result,
                                    control::MessageLanguage language) {
    QV_REQUIRE(result.type() == host::Variant::Type::Int16);
    const std::int16_t code = result.AsInt16();
    QV_REQUIRE(IsResultCode(code));
    QV_REQUIRE((control.ErrorFound() == control::kTrue) == (code > 0));
    QV_REQUIRE(code == 0 || !control::ResultMessage(code, language).empty());
    QV_REQUIRE(control.ErrorDescription() ==
               (code > 0 ? control::ResultMessage(code, language) : std::u16string_view()));
    return code;
}

}  // namespace qv::fuzz
