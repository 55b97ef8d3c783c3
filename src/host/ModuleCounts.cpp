// SPDX-License-Identifier: MIT
#include <qvbarcode/host/ModuleCounts.h>

#include <atomic>

namespace qv::host {
namespace {

std::atomic<std::int64_t> objects{0};
std::atomic<std::int64_t> locks{0};

}  // namespace

std::int64_t ModuleCounts::Objects() noexcept {
    return objects.load();
}
std::int64_t ModuleCounts::Locks() noexcept {
    return locks.load();
}
void ModuleCounts::Lock() noexcept {
    ++locks;
}

bool ModuleCounts::Unlock() noexcept {
    std::int64_t current = locks.load();
    while (current > 0) {
        if (locks.compare_exchange_weak(current, current - 1)) return true;
    }
    return false;
}

CountedObject::CountedObject() noexcept {
    ++objects;
}
CountedObject::CountedObject(const CountedObject&) noexcept {
    ++objects;
}
CountedObject::~CountedObject() {
    --objects;
}

}  // namespace qv::host
