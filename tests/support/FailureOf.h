#pragma once

#include <optional>

#include "component/FailedCall.h"

namespace qv::testing {

// The reason of the failed call that `call` ends in, or nothing when it returns.
template <typename Call>
std::optional<component::FailureReason> FailureOf(Call&& call) {
    try {
        call();
    } catch (const component::FailedCall& failure) {
        return failure.reason();
    }
    return std::nullopt;
}

}  // namespace qv::testing
