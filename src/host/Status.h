// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/Variant.h>

namespace qv::host {

// The status every call across the component boundary returns, with the numeric values
// hosts of the component model already know. These are all the library returns: the C
// header names each of them (a test compares the two lists).
using Status = std::int32_t;

inline constexpr Status kOk = 0;
inline constexpr Status kFalseOk = 1;  // success, but "no" (may not unload yet)
inline constexpr Status kNoInterface = static_cast<Status>(0x80004002);
inline constexpr Status kNullPointer = static_cast<Status>(0x80004003);
inline constexpr Status kFail = static_cast<Status>(0x80004005);
inline constexpr Status kOutOfMemory = static_cast<Status>(0x8007000E);
inline constexpr Status kInvalidArgument = static_cast<Status>(0x80070057);
inline constexpr Status kInsufficientBuffer = static_cast<Status>(0x8007007A);
inline constexpr Status kResourceNotFound = static_cast<Status>(0x80070716);
inline constexpr Status kMemberNotFound = static_cast<Status>(0x80020003);
inline constexpr Status kUnknownName = static_cast<Status>(0x80020006);
inline constexpr Status kOverflow = static_cast<Status>(0x8002000A);
inline constexpr Status kBadParameterCount = static_cast<Status>(0x8002000E);
inline constexpr Status kParameterNotOptional = static_cast<Status>(0x8002000F);
inline constexpr Status kNoAggregation = static_cast<Status>(0x80040110);
inline constexpr Status kClassNotAvailable = static_cast<Status>(0x80040111);
inline constexpr Status kClassRegistrationFailed = static_cast<Status>(0x80040201);
inline constexpr Status kWrongThread = static_cast<Status>(0x8001010E);

constexpr bool Succeeded(Status status) {
    return status >= 0;
}

Status StatusOf(FailureReason reason);

// What a call through a dispatch table gives back: the value on success, otherwise the
// status with the reason (when the call failed with one) and a description.
struct CallResult {
    Status status = kOk;
    Variant value;
    std::optional<FailureReason> reason;
    std::string description;

    bool ok() const { return Succeeded(status); }
    static CallResult Success(Variant value) { return {kOk, std::move(value), {}, {}}; }
    static CallResult Failure(Status status, std::string description,
                              std::optional<FailureReason> reason = std::nullopt) {
        return {status, Variant(), reason, std::move(description)};
    }
};

// The value of a successful call; a failed one raised again as the failed call it was, for
// callers inside the library (the property page reaching its control by name).
Variant ValueOrThrow(CallResult result);

// Runs body and turns every exception into a failed CallResult: nothing escapes a call
// towards the host.
template <typename Body>
CallResult GuardCall(Body&& body) noexcept;

CallResult FailureOfCurrentException() noexcept;

template <typename Body>
CallResult GuardCall(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return FailureOfCurrentException();
    }
}

}  // namespace qv::host
