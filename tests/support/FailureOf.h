// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include <qvbarcode/host/FailedCall.h>

namespace qv::testing {

// The reason of the failed call that `call` ends in, or nothing when it returns.
template <typename Call>
std::optional<host::FailureReason> FailureOf(Call&& call) {
    try {
        call();
    } catch (const host::FailedCall& failure) {
        return failure.reason();
    }
    return std::nullopt;
}

// What that failed call says, "<reason>: <message>", or "" when `call` returns.
template <typename Call>
std::string FailureTextOf(Call&& call) {
    try {
        call();
    } catch (const host::FailedCall& failure) {
        return failure.what();
    }
    return "";
}

}  // namespace qv::testing
