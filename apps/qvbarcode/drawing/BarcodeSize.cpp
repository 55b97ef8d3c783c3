#include "drawing/BarcodeSize.h"

#include <algorithm>
#include <cmath>

#include "host/TextConversion.h"
#include "symbology/Encoders.h"

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
        settings.barHeight.value_or(AtResolution(symbology::kDefaultBarHeight, dotsPerInch));
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
    using namespace symbology;
    const std::u16string text = host::Utf8ToUtf16(settings.text.value_or(""));
    const std::int32_t type = settings.barCodeType.value_or(control::QvTypeInterleaved2of5);
    Encoding encoding;
    if (type == control::QvTypeCode39) {
        encoding = EncodeCode39(text);
    } else {
        Encoding (*encode)(std::u16string_view) = nullptr;
        switch (type) {
            case control::QvTypeInterleaved2of5:
                encode = EncodeInterleaved2of5;
                break;
            case control::QvTypeStandard2of5:
                encode = EncodeStandard2of5;
                break;
            case control::QvTypeEan13:
                encode = EncodeEan13;
                break;
            default:
                return std::nullopt;
        }
        const PreparedText prepared =
            PrepareTextToEncode(text, settings.calculateCheckDigit != kFalse);
        if (prepared.code != kDrawn) {
            return std::nullopt;
        }
        encoding = encode(prepared.textToEncode);
    }
    if (encoding.code != kDrawn) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(encoding.modules.size());
}

}  // namespace qv::cli
