// SPDX-License-Identifier: MIT
#include <qvbarcode/surface/SurfaceHandles.h>

#include <limits>
#include <mutex>
#include <unordered_map>

#include <qvbarcode/host/FailedCall.h>

namespace qv::surface {

namespace {

struct Table {
    std::mutex mutex;
    std::unordered_map<SurfaceHandle, std::shared_ptr<DrawingSurface>> surfaces;
    SurfaceHandle next = 1;
};

Table& TheTable() {
    static Table table;
    return table;
}

}  // namespace

SurfaceHandle SurfaceHandles::Register(std::shared_ptr<DrawingSurface> surface) {
    if (!surface) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "no surface to register");
    }
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    if (table.next == std::numeric_limits<SurfaceHandle>::max()) {
        throw host::FailedCall(host::FailureReason::PlatformFailure, "surface handles exhausted");
    }
    const SurfaceHandle handle = table.next++;
    table.surfaces.emplace(handle, std::move(surface));
    return handle;
}

void SurfaceHandles::Release(SurfaceHandle handle) noexcept {
    if (handle == kNoSurface) {
        return;
    }
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    table.surfaces.erase(handle);
}

std::shared_ptr<DrawingSurface> SurfaceHandles::Find(SurfaceHandle handle) {
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    const auto found = table.surfaces.find(handle);
    return found == table.surfaces.end() ? nullptr : found->second;
}

}  // namespace qv::surface
