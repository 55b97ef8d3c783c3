#include "control/ResizeHandling.h"

#include <cmath>
#include <limits>
#include <optional>

namespace qv::control {

namespace {

// Host units per pixel, rounded half to even, or nothing when it cannot be had in 16 bits.
std::optional<std::int16_t> UnitsPerPixel(float outer, std::int32_t inner) {
    if (inner == 0) {
        return std::nullopt;
    }
    const double ratio = std::nearbyint(double{outer} / inner);
    if (!std::isfinite(ratio) || ratio < std::numeric_limits<std::int16_t>::min() ||
        ratio > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(ratio);
}

}  // namespace

void FollowSurfaceSize(host::ControlSite& site, const PictureBox& surface) {
    const auto kx = UnitsPerPixel(site.OuterWidth(), site.InnerWidth());
    const auto ky = UnitsPerPixel(site.OuterHeight(), site.InnerHeight());
    if (!kx || !ky) {
        return;
    }
    site.SetOuterSize(static_cast<float>(static_cast<double>(*kx) * surface.Width()),
                      static_cast<float>(static_cast<double>(*ky) * surface.Height()));
}

}  // namespace qv::control
