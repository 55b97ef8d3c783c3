// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

#include <qvbarcode/host/Export.h>

namespace qv::host {

// Why a call failed towards the host. Expected failures are result codes; these are not.
enum class FailureReason {
    Overflow,         // a 16-bit or 32-bit count left its range
    InvalidValue,     // an argument no operation can accept
    OutOfMemory,      // a surface or buffer could not be allocated
    PlatformFailure,  // a host or system service reported failure
    WrongThread,      // a call from a thread other than the one that created the object
};

QV_EXPORT const char* ReasonName(FailureReason reason) noexcept;

// The one exception of the library: it ends the current call and leaves the
// control's error state as it was.
class QV_EXPORT FailedCall : public std::runtime_error {
  public:
    FailedCall(FailureReason reason, const std::string& what);

    FailureReason reason() const noexcept { return reason_; }

  private:
    FailureReason reason_;
};

}  // namespace qv::host
