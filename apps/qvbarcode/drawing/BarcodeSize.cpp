// SPDX-License-Identifier: MIT
#include "drawing/BarcodeSize.h"

#include <algorithm>
#include <cmath>

#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/symbology/Symbologies.h>

namespace qv::cli {

namespace {

// A size in the control's own pixels at another resolution, halves to even, at least 1.
std::int32_t AtResolution(std::int32_t screenPixels, double dotsPerInch) {
    const double pixels = std::nearbyint(screenPixels * dotsPerInch / kScreenDotsPerInch);
    return static_cast<std::int32_t>(std::clamp(pixels, 1.0, double{INT32_MAX}));
}

}  // namespace

ControlSize ResolveSize(const BarcodeSettings& settings, double dotsPerInch) {
    if (settings.barWidthSource != kFalse) {
        return {0, settings.barHeight.value_or(0), settings.barWidthSource};
    }
    const std::int32_t height =
        settings.barHeight.value_or(AtResolution(render::kDefaultBarHeight, dotsPerInch));
    if (settings.barWidth) {
        return {*settings.barWidth, height, kFalse};
    }
    std::optional<std::int32_t> module = settings.modulePixels;
    if (!module) {
        if (dotsPerInch == kScreenDotsPerInch) {
            return {0, settings.barHeight.value_or(0), kTrue};
        }
        module = AtResolution(1, dotsPerInch);
    }
    const auto modules = ModuleCount(settings);
    if (!modules) {
        return {0, height, kFalse};  // the control reports the text's fault first
    }
    const std::int64_t width =
        std::int64_t{*modules} * *module + (settings.backgroundWhite != kFalse ? kWhiteMargins : 0);
    // Beyond 32 bits the control itself finds the module width too large to draw.
    return {static_cast<std::int32_t>(std::min<std::int64_t>(width, INT32_MAX)), height, kFalse};
}

std::optional<std::int32_t> ModuleCount(const BarcodeSettings& settings) {
    const symbology::Symbology* symbology =
        symbology::FindSymbology(settings.barCodeType.value_or(control::QvTypeInterleaved2of5));
    if (!symbology) {
        return std::nullopt;
    }
    const symbology::TextEncoding encoding =
        symbology::EncodeText(*symbology, host::Utf8ToUtf16(settings.text.value_or("")),
                              settings.calculateCheckDigit != kFalse);
    if (encoding.code != symbology::kDrawn) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(encoding.modules.size());
}

}  // namespace qv::cli
