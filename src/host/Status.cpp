// SPDX-License-Identifier: MIT
#include <qvbarcode/host/Status.h>

#include <exception>
#include <new>

namespace qv::host {

Status StatusOf(FailureReason reason) {
    switch (reason) {
        case FailureReason::Overflow:
            return kOverflow;
        case FailureReason::InvalidValue:
            return kInvalidArgument;
        case FailureReason::OutOfMemory:
            return kOutOfMemory;
        case FailureReason::PlatformFailure:
            return kFail;
        case FailureReason::WrongThread:
            return kWrongThread;
    }
    return kFail;
}

Variant ValueOrThrow(CallResult result) {
    if (result.ok()) return std::move(result.value);
    // A refusal of the table itself (unknown member, wrong arguments) is the caller's value.
    const FailureReason fallback = result.status == kFail          ? FailureReason::PlatformFailure
                                   : result.status == kWrongThread ? FailureReason::WrongThread
                                                                   : FailureReason::InvalidValue;
    throw FailedCall(result.reason.value_or(fallback), result.description);
}

CallResult FailureOfCurrentException() noexcept {
    // Building the description may itself run out of memory; the status still gets out.
    try {
        throw;
    } catch (const FailedCall& failure) {
        try {
            return CallResult::Failure(StatusOf(failure.reason()), failure.what(),
                                       failure.reason());
        } catch (...) {
            return CallResult{StatusOf(failure.reason()), Variant(), failure.reason(), {}};
        }
    } catch (const std::bad_alloc&) {
        return CallResult{kOutOfMemory, Variant(), FailureReason::OutOfMemory, {}};
    } catch (const std::exception& other) {
        try {
            return CallResult::Failure(kFail, other.what());
        } catch (...) {
            return CallResult{kFail, Variant(), std::nullopt, {}};
        }
    } catch (...) {
        return CallResult{kFail, Variant(), std::nullopt, {}};
    }
}

}  // namespace qv::host
