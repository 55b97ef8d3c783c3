// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/DrawingSurface.h>

namespace qv::surface {

// A 32-bit handle names a live drawing surface, the way a caller passes one to Draw.
using SurfaceHandle = std::int32_t;
constexpr SurfaceHandle kNoSurface = -1;

// The process-wide table of live surfaces. Handles are never reused while the process runs,
// so a stale handle finds nothing instead of someone else's surface.
class QV_EXPORT SurfaceHandles {
  public:
    static SurfaceHandle Register(std::shared_ptr<DrawingSurface> surface);
    static void Release(SurfaceHandle handle) noexcept;
    // The surface, or nullptr when the handle names none.
    static std::shared_ptr<DrawingSurface> Find(SurfaceHandle handle);
};

// Owns a registration: the handle lives exactly as long as this object.
class QV_EXPORT ScopedSurfaceHandle {
  public:
    ScopedSurfaceHandle() = default;
    explicit ScopedSurfaceHandle(std::shared_ptr<DrawingSurface> surface)
        : handle_(SurfaceHandles::Register(std::move(surface))) {}
    ~ScopedSurfaceHandle() { SurfaceHandles::Release(handle_); }
    ScopedSurfaceHandle(ScopedSurfaceHandle&& other) noexcept : handle_(other.handle_) {
        other.handle_ = kNoSurface;
    }
    ScopedSurfaceHandle& operator=(ScopedSurfaceHandle&& other) noexcept {
        if (this != &other) {
            SurfaceHandles::Release(handle_);
            handle_ = other.handle_;
            other.handle_ = kNoSurface;
        }
        return *this;
    }
    ScopedSurfaceHandle(const ScopedSurfaceHandle&) = delete;
    ScopedSurfaceHandle& operator=(const ScopedSurfaceHandle&) = delete;

    SurfaceHandle get() const { return handle_; }

  private:
    SurfaceHandle handle_ = kNoSurface;
};

}  // namespace qv::surface
