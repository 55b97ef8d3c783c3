// SPDX-License-Identifier: MIT
#include <qvbarcode/control/SurfaceOwner.h>

#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace qv::control {
namespace {

struct OwnerTable {
    std::mutex mutex;
    std::map<surface::SurfaceHandle, std::thread::id> owners;
};

OwnerTable& Owners() {
    static OwnerTable table;
    return table;
}

void Forget(surface::SurfaceHandle handle) noexcept {
    if (handle == surface::kNoSurface) return;
    OwnerTable& table = Owners();
    const std::lock_guard lock(table.mutex);
    table.owners.erase(handle);
}

}  // namespace

SurfaceOwner::SurfaceOwner(surface::SurfaceHandle handle) : handle_(handle) {
    OwnerTable& table = Owners();
    const std::lock_guard lock(table.mutex);
    table.owners[handle] = std::this_thread::get_id();
}

SurfaceOwner::~SurfaceOwner() {
    Forget(handle_);
}

SurfaceOwner::SurfaceOwner(SurfaceOwner&& other) noexcept
    : handle_(std::exchange(other.handle_, surface::kNoSurface)) {}

SurfaceOwner& SurfaceOwner::operator=(SurfaceOwner&& other) noexcept {
    if (this != &other) {
        Forget(handle_);
        handle_ = std::exchange(other.handle_, surface::kNoSurface);
    }
    return *this;
}

bool SurfaceOwner::MayUse(surface::SurfaceHandle handle) {
    OwnerTable& table = Owners();
    const std::lock_guard lock(table.mutex);
    const auto found = table.owners.find(handle);
    return found == table.owners.end() || found->second == std::this_thread::get_id();
}

}  // namespace qv::control
