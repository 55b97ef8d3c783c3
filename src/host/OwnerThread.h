// SPDX-License-Identifier: MIT
#pragma once

#include <thread>

#include <qvbarcode/host/Export.h>

namespace qv::host {

// The thread an object belongs to: the one that made it. A call from any other thread is
// refused before it touches anything, as a single-threaded apartment refuses it.
class QV_EXPORT OwnerThread {
  public:
    OwnerThread() noexcept : id_(std::this_thread::get_id()) {}

    bool IsCurrent() const noexcept { return std::this_thread::get_id() == id_; }
    // Raises the wrong-thread failed call on any thread but the owner's.
    void Check() const {
        if (!IsCurrent()) [[unlikely]]
            RefuseCall();
    }

  private:
    [[noreturn]] static void RefuseCall();

    std::thread::id id_;
};

}  // namespace qv::host
