// SPDX-License-Identifier: MIT
#include <qvbarcode/host/FailedCall.h>

namespace qv::host {

const char* ReasonName(FailureReason reason) noexcept {
    switch (reason) {
        case FailureReason::Overflow:
            return "arithmetic overflow";
        case FailureReason::InvalidValue:
            return "invalid value";
        case FailureReason::OutOfMemory:
            return "out of memory";
        case FailureReason::PlatformFailure:
            return "platform failure";
        case FailureReason::WrongThread:
            return "wrong thread";
    }
    return "unknown failure";
}

FailedCall::FailedCall(FailureReason reason, const std::string& what)
    : std::runtime_error(std::string(ReasonName(reason)) + ": " + what), reason_(reason) {}

}  // namespace qv::host
