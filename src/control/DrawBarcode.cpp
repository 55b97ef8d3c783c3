// SPDX-License-Identifier: MIT
// The drawing: the text encoded by its symbology, the caption measured, the drawing planned,
// the own surface sized to the plan, the plan painted and, on the own surface, kept.
#include <qvbarcode/control/ControlPlanning.h>
#include <qvbarcode/control/ControlState.h>
#include <qvbarcode/control/SurfaceOwner.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/TextTrim.h>
#include <qvbarcode/render/BarcodePainter.h>

namespace qv::control {

using surface::SurfaceHandle;

namespace {

std::shared_ptr<surface::DrawingSurface> SurfaceFor(SurfaceHandle hdc) {
    std::shared_ptr<surface::DrawingSurface> surface = surface::SurfaceHandles::Find(hdc);
    if (!surface) {
        // Drawing nothing and reporting success would hide the caller's mistake.
        throw host::FailedCall(host::FailureReason::InvalidValue,
                               "the device context names no surface");
    }
    return surface;
}

}  // namespace

// Keyed by everything the encoders read.
struct QvBarCode::State::EncodedText {
    std::int32_t type = 0;
    bool checkDigit = false;
    std::u16string text;
    symbology::TextEncoding encoding;
};

// The encoding of Text under the current type and check digit setting: the last one when
// none of them changed.
std::shared_ptr<const QvBarCode::State::EncodedText> QvBarCode::State::EncodingOfText(
    const symbology::Symbology& symbology) {
    const bool checkDigit = calculateCheckDigit != 0;
    if (lastEncoded && lastEncoded->type == barCodeType && lastEncoded->checkDigit == checkDigit &&
        lastEncoded->text == text) {
        return lastEncoded;
    }
    auto encoded = std::make_shared<EncodedText>();
    encoded->type = barCodeType;
    encoded->checkDigit = checkDigit;
    encoded->text = text;
    encoded->encoding = symbology::EncodeText(symbology, text, checkDigit);
    lastEncoded = encoded;
    return encoded;
}

render::BarcodePlan QvBarCode::State::PlanOf(const symbology::Symbology& symbology,
                                             const EncodedText& encoded) {
    const render::BarcodeLayout layout = Layout();
    const std::u16string_view caption =
        symbology::CaptionOf(symbology, encoded.text, encoded.encoding);
    return render::PlanBarcode(encoded.encoding.modules, caption, layout,
                               layout.showValue ? MeasureText(caption) : surface::TextExtent{});
}

std::int16_t QvBarCode::State::DrawBarcode(SurfaceHandle& hdc) {
    const symbology::Symbology* symbology = symbology::FindSymbology(barCodeType);
    if (!symbology) {
        return symbology::kInvalidBarcodeType;
    }
    // Held here: the host may run events while the own surface is sized, which may draw
    // again and replace the last encoding, and the plan's modules and caption point into it.
    const std::shared_ptr<const EncodedText> encoded = EncodingOfText(*symbology);
    if (symbology->numeric) {
        textToEncode = encoded->encoding.textToEncode;
    }
    if (encoded->encoding.code != symbology::kDrawn) {
        return encoded->encoding.code;
    }
    const render::BarcodePlan plan = PlanOf(*symbology, *encoded);
    if (plan.code != symbology::kDrawn) {
        return plan.code;
    }
    const bool own = ownSurface;
    if (own) {
        // Width first, then height, each followed by the control's resize handling.
        pic1.SetWidth(plan.surfaceWidth);
        pic1.SetHeight(plan.surfaceHeight);
        site->ProcessPendingEvents();
        hdc = pic1.hDC();
    }
    // The own surface is this thread's; another control's is its own thread's.
    if (!own && !SurfaceOwner::MayUse(hdc)) {
        throw host::FailedCall(host::FailureReason::WrongThread,
                               "the device context is another thread's control's surface");
    }
    const std::shared_ptr<surface::DrawingSurface> surface = SurfaceFor(hdc);
    const surface::Colour captionColour = render::PaintFrame(plan, *surface);
    if (plan.storedBarWidth) {
        barWidth = *plan.storedBarWidth;  // no change notification
    }
    render::PaintBarsAndCaption(plan, *surface, captionColour, &keptBarRuns);
    if (own) {
        pic1.KeepImageAsPicture();
    }
    return symbology::kDrawn;
}

PlannedBarcode PlanOf(QvBarCode& control) {
    QvBarCode::State& s = *control.state_;
    s.owner.Check();
    PlannedBarcode planned;
    const symbology::Symbology* symbology = symbology::FindSymbology(s.barCodeType);
    if (host::TrimSpaces(s.text).empty()) {
        planned.plan.code = symbology::kBlankText;
    } else if (!symbology) {
        planned.plan.code = symbology::kInvalidBarcodeType;
    } else {
        std::shared_ptr<const QvBarCode::State::EncodedText> encoded = s.EncodingOfText(*symbology);
        planned.plan.code = encoded->encoding.code;
        if (planned.plan.code == symbology::kDrawn) {
            planned.plan = s.PlanOf(*symbology, *encoded);
        }
        planned.texts = std::move(encoded);
    }
    return planned;
}

}  // namespace qv::control
