// SPDX-License-Identifier: MIT
#include <qvbarcode/control/ResizeHandling.h>

#include <cmath>
#include <limits>
#include <optional>

namespace qv::control {

namespace {

// A ratio rounded half to even, or nothing when it cannot be had in 16 bits.
std::optional<std::int16_t> Rounded(double ratio) {
    ratio = std::nearbyint(ratio);
    if (!std::isfinite(ratio) || ratio < std::numeric_limits<std::int16_t>::min() ||
        ratio > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(ratio);
}

// Host units per pixel on one axis; nothing while the control has no inner size there.
std::optional<std::int16_t> UnitsPerPixel(float outer, std::int32_t inner) {
    if (inner == 0) {
        return std::nullopt;
    }
    return Rounded(double{outer} / inner);
}

std::optional<std::int16_t> HostUnitsPerPixel(const host::ControlSite& site) {
    const std::optional<float> units = site.HostUnitsPerPixel();
    return units ? Rounded(*units) : std::nullopt;
}

}  // namespace

void FollowSurfaceSize(host::ControlSite& site, const PictureBox& surface) {
    std::optional<std::int16_t> kx = UnitsPerPixel(site.OuterWidth(), site.InnerWidth());
    std::optional<std::int16_t> ky = UnitsPerPixel(site.OuterHeight(), site.InnerHeight());
    if (!kx || !ky) {
        const std::optional<std::int16_t> known = kx ? kx : ky ? ky : HostUnitsPerPixel(site);
        if (!known) {
            return;
        }
        kx = kx.value_or(*known);
        ky = ky.value_or(*known);
    }
    site.SetOuterSize(static_cast<float>(static_cast<double>(*kx) * surface.Width()),
                      static_cast<float>(static_cast<double>(*ky) * surface.Height()));
}

}  // namespace qv::control
