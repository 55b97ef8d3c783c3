// SPDX-License-Identifier: MIT
#include <qvbarcode/host/OwnerThread.h>

#include <qvbarcode/host/FailedCall.h>

namespace qv::host {

void OwnerThread::RefuseCall() {
    throw FailedCall(FailureReason::WrongThread,
                     "the object belongs to the thread that created it");
}

}  // namespace qv::host
