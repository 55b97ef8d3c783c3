// SPDX-License-Identifier: MIT
#pragma once

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/SurfaceHandles.h>

namespace qv::control {

// Registers the handle of a control's own surface as its control's thread's, for as long as
// this object lives. Pic1 is part of its control, so no other thread may draw on it or read
// it through its handle while the control draws.
class QV_EXPORT SurfaceOwner {
  public:
    SurfaceOwner() = default;
    // The current thread's, which creates the control and the surface.
    explicit SurfaceOwner(surface::SurfaceHandle handle);
    ~SurfaceOwner();
    SurfaceOwner(SurfaceOwner&& other) noexcept;
    SurfaceOwner& operator=(SurfaceOwner&& other) noexcept;

    // False only for the own surface of a control of another thread.
    static bool MayUse(surface::SurfaceHandle handle);

  private:
    surface::SurfaceHandle handle_ = surface::kNoSurface;
};

}  // namespace qv::control
