// SPDX-License-Identifier: MIT
#include "control/QvBarCode.h"

#include "control/PropertyTable.h"
#include "control/ResizeHandling.h"
#include "control/ResultMessages.h"
#include "control/SamplePicture.h"
#include "host/FailedCall.h"
#include "host/TextTrim.h"
#include "render/BarRuns.h"

namespace qv::control {

using host::Variant;
using surface::SurfaceHandle;

namespace {

// A new control is 2190 x 1140 host units: 146 x 76 pixels on a usual host.
constexpr std::int32_t kStartWidth = 146;
constexpr std::int32_t kStartHeight = 76;

std::shared_ptr<const surface::Font> FontOrDefault(std::shared_ptr<const surface::Font> font) {
    return font ? std::move(font) : surface::ControlFont();
}

}  // namespace

QvBarCode::QvBarCode(std::shared_ptr<host::ControlSite> site,
                     std::shared_ptr<const surface::Font> font)
    : site_(std::move(site)),
      font_(FontOrDefault(std::move(font))),
      pic1_(kStartWidth, kStartHeight, surface::kWhite, surface::kBlack, font_),
      keptBarRuns_(std::make_unique<render::KeptBarRuns>()) {
    if (!site_) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "a control needs a site");
    }
    pic1_.SetPicture(SamplePicture(font_));
    pic1_.OnResize([this] { FollowSurfaceSize(*site_, pic1_); });
}

QvBarCode::~QvBarCode() = default;

void QvBarCode::SetSite(std::shared_ptr<host::ControlSite> site) {
    owner_.Check();
    if (!site) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "a control needs a site");
    }
    site_ = std::move(site);
}

void QvBarCode::SetText(std::u16string text) {
    owner_.Check();
    text_ = std::move(text);
    site_->PropertyChanged(NameOf(Property::Text));
}
void QvBarCode::SetBarCodeType(std::int32_t type) {
    owner_.Check();
    barCodeType_ = type;
    site_->PropertyChanged(NameOf(Property::BarCodeType));
}
void QvBarCode::SetPositionX(std::int32_t x) {
    owner_.Check();
    positionX_ = x;
    site_->PropertyChanged(NameOf(Property::PositionX));
}
void QvBarCode::SetPositionY(std::int32_t y) {
    owner_.Check();
    positionY_ = y;
    site_->PropertyChanged(NameOf(Property::PositionY));
}
void QvBarCode::SetBarHeight(std::int32_t height) {
    owner_.Check();
    barHeight_ = height;
    site_->PropertyChanged(NameOf(Property::BarHeight));
}
void QvBarCode::SetBarWidth(std::int32_t width) {
    owner_.Check();
    barWidth_ = width;
    site_->PropertyChanged(NameOf(Property::BarWidth));
}
void QvBarCode::SetBarWidthSource(AutomationBool value) {
    owner_.Check();
    barWidthSource_ = value;
    site_->PropertyChanged(NameOf(Property::BarWidthSource));
}
void QvBarCode::SetBackgroundWhite(AutomationBool value) {
    owner_.Check();
    backgroundWhite_ = value;
    site_->PropertyChanged(NameOf(Property::BackgroundWhite));
}
void QvBarCode::SetShowValue(AutomationBool value) {
    owner_.Check();
    showValue_ = value;
    site_->PropertyChanged(NameOf(Property::ShowValue));
}
void QvBarCode::SetCalculateCheckDigit(AutomationBool value) {
    owner_.Check();
    calculateCheckDigit_ = value;
    site_->PropertyChanged(NameOf(Property::CalculateCheckDigit));
}

Variant QvBarCode::Draw() {
    SurfaceHandle none = surface::kNoSurface;
    return Draw(none);
}

Variant QvBarCode::Draw(SurfaceHandle& xhDC) {
    owner_.Check();
    std::int16_t result = symbology::kBlankText;
    if (!host::TrimSpaces(text_).empty()) {
        ownSurface_ = false;
        if (xhDC == surface::kNoSurface) {
            ownSurface_ = true;
            site_->SetDisplaySetting(1);
            pic1_.SetVisible(true);
            pic1_.SetTop(0);
            pic1_.SetLeft(0);
            pic1_.SetPicture(nullptr);
            xhDC = pic1_.hDC();
            positionX_ = 0;
            positionY_ = 0;
        } else {
            pic1_.SetVisible(false);
            site_->SetDisplaySetting(0);
        }
        result = DrawBarcode(xhDC);
    }
    SetErrorState(result);
    return Variant::FromInt16(result);
}

void QvBarCode::SetErrorState(std::int16_t result) {
    owner_.Check();
    if (result <= 0) {
        errorFound_ = kFalse;
        errorDescription_.clear();
        return;
    }
    // The language is looked up afresh at every failure; nothing is remembered.
    const MessageLanguage language = MessageLanguageFor(site_->EnglishLanguageName());
    errorFound_ = kTrue;
    errorDescription_ = std::u16string(ResultMessage(result, language));
}

render::BarcodeLayout QvBarCode::Layout() const {
    return {positionX_,     positionY_,           barWidth_,
            barHeight_,     barWidthSource_ != 0, backgroundWhite_ != 0,
            showValue_ != 0};
}

surface::TextExtent QvBarCode::MeasureText(std::u16string_view text) const {
    // The control's font never changes, so the text alone is the key.
    if (!lastMeasured_ || lastMeasured_->text != text) {
        const surface::TextExtent extent = font_->Measure(text);
        lastMeasured_ = MeasuredText{std::u16string(text), extent};
    }
    return lastMeasured_->extent;
}

}  // namespace qv::control
