// SPDX-License-Identifier: MIT
#include <qvbarcode/control/QvBarCode.h>

#include <qvbarcode/control/ControlState.h>
#include <qvbarcode/control/PropertyTable.h>
#include <qvbarcode/control/ResizeHandling.h>
#include <qvbarcode/control/ResultMessages.h>
#include <qvbarcode/control/SamplePicture.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/host/TextTrim.h>

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

std::shared_ptr<host::ControlSite> SiteOrRefusal(std::shared_ptr<host::ControlSite> site) {
    if (!site) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "a control needs a site");
    }
    return site;
}

}  // namespace

QvBarCode::State::State(std::shared_ptr<host::ControlSite> site,
                        std::shared_ptr<const surface::Font> font)
    : site(SiteOrRefusal(std::move(site))),
      font(FontOrDefault(std::move(font))),
      pic1(kStartWidth, kStartHeight, surface::kWhite, surface::kBlack, this->font) {}

QvBarCode::QvBarCode(std::shared_ptr<host::ControlSite> site,
                     std::shared_ptr<const surface::Font> font)
    : state_(std::make_unique<State>(std::move(site), std::move(font))) {
    state_->pic1.SetPicture(SamplePicture(state_->font));
    State& state = *state_;
    state_->pic1.OnResize([&state] { FollowSurfaceSize(*state.site, state.pic1); });
}

QvBarCode::~QvBarCode() = default;

void QvBarCode::SetSite(std::shared_ptr<host::ControlSite> site) {
    state_->owner.Check();
    state_->site = SiteOrRefusal(std::move(site));
}

const std::u16string& QvBarCode::Text() const {
    return state_->Checked(state_->text);
}
std::int32_t QvBarCode::BarCodeType() const {
    return state_->Checked(state_->barCodeType);
}
std::int32_t QvBarCode::PositionX() const {
    return state_->Checked(state_->positionX);
}
std::int32_t QvBarCode::PositionY() const {
    return state_->Checked(state_->positionY);
}
std::int32_t QvBarCode::BarHeight() const {
    return state_->Checked(state_->barHeight);
}
std::int32_t QvBarCode::BarWidth() const {
    return state_->Checked(state_->barWidth);
}
AutomationBool QvBarCode::BarWidthSource() const {
    return state_->Checked(state_->barWidthSource);
}
AutomationBool QvBarCode::BackgroundWhite() const {
    return state_->Checked(state_->backgroundWhite);
}
AutomationBool QvBarCode::ShowValue() const {
    return state_->Checked(state_->showValue);
}
AutomationBool QvBarCode::CalculateCheckDigit() const {
    return state_->Checked(state_->calculateCheckDigit);
}
AutomationBool QvBarCode::ErrorFound() const {
    return state_->Checked(state_->errorFound);
}
const std::u16string& QvBarCode::ErrorDescription() const {
    return state_->Checked(state_->errorDescription);
}

PictureBox& QvBarCode::Pic1() {
    return state_->Checked(state_->pic1);
}
const PictureBox& QvBarCode::Pic1() const {
    return state_->Checked(state_->pic1);
}
const std::u16string& QvBarCode::TextToEncode() const {
    return state_->Checked(state_->textToEncode);
}
bool QvBarCode::DrawsOnOwnSurface() const {
    return state_->Checked(state_->ownSurface);
}
host::ControlSite& QvBarCode::Site() {
    return state_->Checked(*state_->site);
}

void QvBarCode::SetText(std::u16string text) {
    state_->Set(state_->text, std::move(text), Property::Text);
}
void QvBarCode::SetBarCodeType(std::int32_t type) {
    state_->Set(state_->barCodeType, type, Property::BarCodeType);
}
void QvBarCode::SetPositionX(std::int32_t x) {
    state_->Set(state_->positionX, x, Property::PositionX);
}
void QvBarCode::SetPositionY(std::int32_t y) {
    state_->Set(state_->positionY, y, Property::PositionY);
}
void QvBarCode::SetBarHeight(std::int32_t height) {
    state_->Set(state_->barHeight, height, Property::BarHeight);
}
void QvBarCode::SetBarWidth(std::int32_t width) {
    state_->Set(state_->barWidth, width, Property::BarWidth);
}
void QvBarCode::SetBarWidthSource(AutomationBool value) {
    state_->Set(state_->barWidthSource, value, Property::BarWidthSource);
}
void QvBarCode::SetBackgroundWhite(AutomationBool value) {
    state_->Set(state_->backgroundWhite, value, Property::BackgroundWhite);
}
void QvBarCode::SetShowValue(AutomationBool value) {
    state_->Set(state_->showValue, value, Property::ShowValue);
}
void QvBarCode::SetCalculateCheckDigit(AutomationBool value) {
    state_->Set(state_->calculateCheckDigit, value, Property::CalculateCheckDigit);
}

void QvBarCode::SetText(const std::string& utf8) {
    state_->owner.Check();
    SetText(host::Utf8ToUtf16(utf8));
}
std::string QvBarCode::TextUtf8() const {
    return host::Utf16ToUtf8(Text());
}
std::string QvBarCode::ErrorDescriptionUtf8() const {
    return host::Utf16ToUtf8(ErrorDescription());
}

Variant QvBarCode::Draw() {
    SurfaceHandle none = surface::kNoSurface;
    return Draw(none);
}

Variant QvBarCode::Draw(SurfaceHandle& xhDC) {
    State& s = *state_;
    s.owner.Check();
    std::int16_t result = symbology::kBlankText;
    if (!host::TrimSpaces(s.text).empty()) {
        s.ownSurface = false;
        if (xhDC == surface::kNoSurface) {
            s.ownSurface = true;
            s.site->SetDisplaySetting(1);
            s.pic1.SetVisible(true);
            s.pic1.SetTop(0);
            s.pic1.SetLeft(0);
            s.pic1.SetPicture(nullptr);
            xhDC = s.pic1.hDC();
            s.positionX = 0;
            s.positionY = 0;
        } else {
            s.pic1.SetVisible(false);
            s.site->SetDisplaySetting(0);
        }
        result = s.DrawBarcode(xhDC);
    }
    s.SetErrorState(result);
    return Variant::FromInt16(result);
}

ResultCode QvBarCode::Draw(surface::DrawingSurface& surface) {
    state_->owner.Check();
    // Named for this drawing only; the caller keeps the surface.
    const surface::ScopedSurfaceHandle handle(
        std::shared_ptr<surface::DrawingSurface>(std::shared_ptr<void>(), &surface));
    SurfaceHandle hdc = handle.get();
    return static_cast<ResultCode>(Draw(hdc).AsInt16());
}

void QvBarCode::State::SetErrorState(std::int16_t result) {
    owner.Check();
    if (result <= 0) {
        errorFound = kFalse;
        errorDescription.clear();
        return;
    }
    // The language is looked up afresh at every failure; nothing is remembered.
    const MessageLanguage language = MessageLanguageFor(site->EnglishLanguageName());
    errorFound = kTrue;
    errorDescription = std::u16string(ResultMessage(result, language));
}

render::BarcodeLayout QvBarCode::State::Layout() const {
    return {positionX,     positionY,           barWidth,
            barHeight,     barWidthSource != 0, backgroundWhite != 0,
            showValue != 0};
}

surface::TextExtent QvBarCode::State::MeasureText(std::u16string_view caption) const {
    // The control's font never changes, so the text alone is the key.
    if (!lastMeasured || lastMeasured->text != caption) {
        const surface::TextExtent extent = font->Measure(caption);
        lastMeasured = MeasuredText{std::u16string(caption), extent};
    }
    return lastMeasured->extent;
}

}  // namespace qv::control
