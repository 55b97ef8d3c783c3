// SPDX-License-Identifier: MIT
// The entry points for drawing surfaces: those over the host's memory, and reading the
// pictures the library keeps, such as the control's own surface Pic1.
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>

#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/control/SurfaceOwner.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/ModuleCounts.h>
#include <qvbarcode/host/Status.h>
#include <qvbarcode/surface/HostMemorySurface.h>
#include <qvbarcode/surface/SurfaceHandles.h>

namespace {

using namespace qv;

// The surfaces hosts made and have not released. Each counts as a live object: its
// drawing code must stay loaded while the host may still pass its handle.
struct HostSurface {
    std::shared_ptr<surface::HostMemorySurface> surface;
    surface::ScopedSurfaceHandle handle;
    host::CountedObject counted;
};

struct HostSurfaceTable {
    std::mutex mutex;
    std::map<surface::SurfaceHandle, HostSurface> surfaces;
};

HostSurfaceTable& TheHostSurfaces() {
    static HostSurfaceTable table;
    return table;
}

// The host's rows, refused (invalid value) unless they can be what the header says: the
// checks of CheckHostPixels, a stride whose size an int32_t holds, no more pixels than a
// raster surface has, and rows that end inside the address space. The library cannot see
// whether the memory is there, but it never computes an address that wraps.
surface::HostPixels PixelsAt(void* pixels, int32_t width, int32_t height, int32_t stride,
                             int32_t bitsPerPixel) {
    using host::FailedCall;
    using host::FailureReason;
    const surface::HostPixels rows{static_cast<std::uint8_t*>(pixels), width, height, stride,
                                   bitsPerPixel};
    if (stride == std::numeric_limits<int32_t>::min()) {
        throw FailedCall(FailureReason::InvalidValue, "the row stride's size overflows");
    }
    surface::CheckHostPixels(rows);
    if (std::int64_t{width} * height > surface::RasterSurface::kMaxPixels) {
        throw FailedCall(FailureReason::InvalidValue, "a surface of more than 64 megapixels");
    }
    const std::uint64_t span = rows.Span();
    if (span > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()) ||
        span >
            std::numeric_limits<std::uintptr_t>::max() - reinterpret_cast<std::uintptr_t>(pixels)) {
        throw FailedCall(FailureReason::InvalidValue, "rows that end beyond the address space");
    }
    return rows;
}

// One grey byte a pixel, rows stride bytes apart (bottom-up when negative): a grey picture is
// what a host reads back most, and it costs one byte a pixel instead of three. Refuses what
// PixelsAt refuses; false, with nothing copied, when capacity is smaller than the rows.
bool CopyGreyToHost(const surface::RasterSurface& from, void* pixels, int32_t stride,
                    size_t capacity) {
    using host::FailedCall;
    using host::FailureReason;
    const std::int64_t width = from.width();
    const std::int64_t height = from.height();
    if (stride == std::numeric_limits<int32_t>::min()) {
        throw FailedCall(FailureReason::InvalidValue, "the row stride's size overflows");
    }
    const std::int64_t step = stride < 0 ? -std::int64_t{stride} : std::int64_t{stride};
    if (step < width) throw FailedCall(FailureReason::InvalidValue, "a stride shorter than a row");
    const auto span = static_cast<std::uint64_t>(height == 0 ? 0 : step * (height - 1) + width);
    if (span > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()) ||
        span >
            std::numeric_limits<std::uintptr_t>::max() - reinterpret_cast<std::uintptr_t>(pixels)) {
        throw FailedCall(FailureReason::InvalidValue, "rows that end beyond the address space");
    }
    if (span > capacity) return false;
    auto* block = static_cast<std::uint8_t*>(pixels);
    const std::uint8_t* above = nullptr;
    for (std::int64_t y = 0; y < height; ++y) {
        const auto row = static_cast<std::int32_t>(y);
        std::uint8_t* grey = block + (stride < 0 ? height - 1 - y : y) * step;
        // Most rows of a barcode repeat the one above.
        if (above != nullptr && from.RowRepeatsAbove(row)) {
            std::memcpy(grey, above, static_cast<std::size_t>(width));
        } else {
            const std::uint8_t* rgb = from.RowData(row);
            for (std::int64_t x = 0; x < width; ++x, rgb += 3) {
                grey[x] = rgb[0] == rgb[1] && rgb[1] == rgb[2]
                              ? rgb[0]
                              : static_cast<std::uint8_t>(
                                    (rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114 + 500) / 1000);
            }
        }
        above = grey;
    }
    return true;
}

}  // namespace

extern "C" {

QvStatus QvSurfaceCreate(void* pixels, int32_t width, int32_t height, int32_t stride,
                         int32_t bitsPerPixel, int32_t* handle) {
    if (handle == nullptr) return host::kNullPointer;
    *handle = surface::kNoSurface;
    // Only a surface without pixels needs no memory.
    if (pixels == nullptr && width > 0 && height > 0) return host::kNullPointer;
    return host::GuardCall([&] {
               auto made = std::make_shared<surface::HostMemorySurface>(
                   PixelsAt(pixels, width, height, stride, bitsPerPixel));
               HostSurface entry{made, surface::ScopedSurfaceHandle(made), {}};
               const surface::SurfaceHandle given = entry.handle.get();
               HostSurfaceTable& table = TheHostSurfaces();
               const std::lock_guard lock(table.mutex);
               table.surfaces.emplace(given, std::move(entry));
               *handle = given;
               return host::CallResult::Success(host::Variant());
           })
        .status;
}

QvStatus QvSurfaceRelease(int32_t handle) {
    HostSurfaceTable& table = TheHostSurfaces();
    const std::lock_guard lock(table.mutex);
    const auto found = table.surfaces.find(handle);
    if (found == table.surfaces.end()) return host::kInvalidArgument;
    // A drawing still holding the surface must not reach memory the host takes back.
    found->second.surface->Detach();
    table.surfaces.erase(found);
    return host::kOk;
}

QvStatus QvSurfaceGetSize(int32_t handle, int32_t* width, int32_t* height) {
    if (width == nullptr || height == nullptr) return host::kNullPointer;
    if (!control::SurfaceOwner::MayUse(handle)) return host::kWrongThread;
    return host::GuardCall([&] {
               const auto found = surface::SurfaceHandles::Find(handle);
               if (const auto* raster = dynamic_cast<surface::RasterSurface*>(found.get())) {
                   *width = raster->width();
                   *height = raster->height();
               } else if (const auto* own =
                              dynamic_cast<surface::HostMemorySurface*>(found.get())) {
                   *width = own->width();
                   *height = own->height();
               } else {
                   return host::CallResult::Failure(host::kInvalidArgument,
                                                    "the handle names no surface of known size");
               }
               return host::CallResult::Success(host::Variant());
           })
        .status;
}

QvStatus QvSurfaceCopyPixels(int32_t handle, void* pixels, int32_t stride, int32_t bitsPerPixel,
                             size_t capacity) {
    if (pixels == nullptr) return host::kNullPointer;
    if (!control::SurfaceOwner::MayUse(handle)) return host::kWrongThread;
    return host::GuardCall([&] {
               const auto found = surface::SurfaceHandles::Find(handle);
               const auto* raster = dynamic_cast<surface::RasterSurface*>(found.get());
               if (raster == nullptr) {
                   return host::CallResult::Failure(host::kInvalidArgument,
                                                    "the handle names no picture to read");
               }
               if (bitsPerPixel == 8) {
                   if (!CopyGreyToHost(*raster, pixels, stride, capacity)) {
                       return host::CallResult::Failure(host::kInsufficientBuffer,
                                                        "the buffer is smaller than the picture");
                   }
                   return host::CallResult::Success(host::Variant());
               }
               const surface::HostPixels to =
                   PixelsAt(pixels, raster->width(), raster->height(), stride, bitsPerPixel);
               if (to.Span() > capacity) {
                   return host::CallResult::Failure(host::kInsufficientBuffer,
                                                    "the buffer is smaller than the picture");
               }
               surface::CopyToHost(*raster, {0, 0, raster->width(), raster->height()}, to);
               return host::CallResult::Success(host::Variant());
           })
        .status;
}

}  // extern "C"
