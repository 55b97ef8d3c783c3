// SPDX-License-Identifier: MIT
#include <qvbarcode/host/ControlSite.h>

#include <cmath>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/UserLanguage.h>

namespace qv::host {

StandaloneSite::StandaloneSite(float unitsPerPixel) : unitsPerPixel_(1.0f) {
    SetUnitsPerPixel(unitsPerPixel);
}

void StandaloneSite::SetUnitsPerPixel(float unitsPerPixel) {
    if (!(unitsPerPixel > 0.0f) || !std::isfinite(unitsPerPixel)) {
        throw FailedCall(FailureReason::InvalidValue, "host units per pixel must be positive");
    }
    unitsPerPixel_ = unitsPerPixel;
}

void StandaloneSite::SetOuterSize(float width, float height) {
    if (!std::isfinite(width) || !std::isfinite(height) || width < 0.0f || height < 0.0f) {
        throw FailedCall(FailureReason::InvalidValue,
                         "control size must be finite and not negative");
    }
    outerWidth_ = width;
    outerHeight_ = height;
}

// A host sees whole pixels inside the control.
std::int32_t StandaloneSite::InnerWidth() const {
    return static_cast<std::int32_t>(std::lround(outerWidth_ / unitsPerPixel_));
}

std::int32_t StandaloneSite::InnerHeight() const {
    return static_cast<std::int32_t>(std::lround(outerHeight_ / unitsPerPixel_));
}

std::string StandaloneSite::EnglishLanguageName() const {
    return UserLanguageName();
}

}  // namespace qv::host
