// SPDX-License-Identifier: MIT
#include <qvbarcode/BarcodePicture.h>

#include <qvbarcode/control/ControlPlanning.h>
#include <qvbarcode/host/TextTrim.h>
#include <qvbarcode/render/BarcodePlan.h>
#include <qvbarcode/symbology/Symbologies.h>

namespace qv::painting {

QuietZone StandardQuietZone(std::int32_t type) {
    const symbology::Symbology* symbology = symbology::FindSymbology(type);
    return symbology ? symbology->quietZone : QuietZone{};
}

QuietZone QuietZoneOf(std::int32_t type, std::int32_t modules) {
    return modules < 0 ? StandardQuietZone(type) : QuietZone{modules, modules};
}

std::optional<BarcodePicture> PictureOf(control::QvBarCode& control, QuietZone quietZone) {
    const control::PlannedBarcode planned = control::PlanOf(control);
    const render::BarcodePlan& plan = planned.plan;
    if (plan.code != symbology::kDrawn) return std::nullopt;
    BarcodePicture picture;
    picture.modules = plan.bars.modules;
    picture.caption = plan.caption;
    picture.moduleWidth = plan.bars.moduleWidth;
    picture.barHeight = static_cast<double>(std::int64_t{plan.surfaceHeight} -
                                            (plan.whiteFrame ? 2 * render::kMargin : 0));
    picture.whiteFrame = plan.whiteFrame;
    picture.showValue = plan.captionBox.has_value();
    picture.quietZone = quietZone;
    return picture;
}

std::int16_t EncodePicture(const control::QvBarCode& control, QuietZone quietZone,
                           BarcodePicture& picture) {
    if (host::TrimSpaces(control.Text()).empty()) return symbology::kBlankText;
    const symbology::Symbology* symbology = symbology::FindSymbology(control.BarCodeType());
    if (!symbology) return symbology::kInvalidBarcodeType;
    const symbology::TextEncoding encoding = symbology::EncodeText(
        *symbology, control.Text(), control.CalculateCheckDigit() != control::kFalse);
    if (encoding.code != symbology::kDrawn) return encoding.code;
    picture = {};
    picture.modules = encoding.modules;
    picture.showValue = control.ShowValue() != control::kFalse;
    if (picture.showValue) {
        picture.caption = symbology::CaptionOf(*symbology, control.Text(), encoding);
    }
    picture.whiteFrame = control.BackgroundWhite() != control::kFalse;
    picture.quietZone = quietZone;
    return symbology::kDrawn;
}

}  // namespace qv::painting
