// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace qv::host {

// Live objects and host locks of this library; it may unload only when both are zero.
class ModuleCounts {
  public:
    static std::int64_t Objects() noexcept;
    static std::int64_t Locks() noexcept;
    static bool CanUnload() noexcept { return Objects() == 0 && Locks() == 0; }

    static void Lock() noexcept;
    // Refuses to go below zero: a host that unlocks more than it locked cannot make the
    // library look free of the locks others still hold.
    static bool Unlock() noexcept;
};

// Counts one live object for as long as it exists; every object handed out holds one.
class CountedObject {
  public:
    CountedObject() noexcept;
    CountedObject(const CountedObject&) noexcept;
    CountedObject& operator=(const CountedObject&) noexcept { return *this; }
    ~CountedObject();
};

}  // namespace qv::host
