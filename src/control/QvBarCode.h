#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "control/PictureBox.h"
#include "host/ControlSite.h"
#include "host/Variant.h"
#include "symbology/DrawModuleString.h"
#include "symbology/Encoding.h"

namespace qv::control {

// The automation Boolean: True is -1, False 0; setters store other values unchanged.
using AutomationBool = std::int16_t;
constexpr AutomationBool kTrue = -1;
constexpr AutomationBool kFalse = 0;

enum EnumBarCodeType : std::int32_t {
    QvTypeInterleaved2of5 = 0,
    QvTypeStandard2of5 = 1,
    QvTypeCode39 = 2,
    QvTypeEan13 = 3,
};

// The barcode control. Setters store unchecked and tell the host; Draw renders the barcode
// of Text onto a caller's surface or onto the own surface Pic1, which the control follows
// in size. Expected failures are result codes; a FailedCall ends a call and leaves the
// error state as it was.
class QvBarCode final : private symbology::PipelineHost {
  public:
    explicit QvBarCode(
        std::shared_ptr<host::ControlSite> site = std::make_shared<host::StandaloneSite>(),
        std::shared_ptr<const surface::Font> font = nullptr);
    QvBarCode(const QvBarCode&) = delete;
    QvBarCode& operator=(const QvBarCode&) = delete;

    const std::u16string& Text() const { return text_; }
    void SetText(std::u16string text);
    std::int32_t BarCodeType() const { return barCodeType_; }
    void SetBarCodeType(std::int32_t type);
    std::int32_t PositionX() const { return positionX_; }
    void SetPositionX(std::int32_t x);
    std::int32_t PositionY() const { return positionY_; }
    void SetPositionY(std::int32_t y);
    std::int32_t BarHeight() const { return barHeight_; }
    void SetBarHeight(std::int32_t height);
    std::int32_t BarWidth() const { return barWidth_; }
    void SetBarWidth(std::int32_t width);
    AutomationBool BarWidthSource() const { return barWidthSource_; }
    void SetBarWidthSource(AutomationBool value);
    AutomationBool BackgroundWhite() const { return backgroundWhite_; }
    void SetBackgroundWhite(AutomationBool value);
    AutomationBool ShowValue() const { return showValue_; }
    void SetShowValue(AutomationBool value);
    AutomationBool CalculateCheckDigit() const { return calculateCheckDigit_; }
    void SetCalculateCheckDigit(AutomationBool value);
    AutomationBool ErrorFound() const { return errorFound_; }
    const std::u16string& ErrorDescription() const { return errorDescription_; }

    // Draws on the control's own surface; the same as Draw(-1).
    host::Variant Draw();
    // Draws on the surface xhDC names, or with -1 on the own surface, whose handle then
    // comes back in xhDC. Returns the result code as a 16-bit integer Variant.
    host::Variant Draw(surface::SurfaceHandle& xhDC);

    PictureBox& Pic1() { return pic1_; }
    const PictureBox& Pic1() const { return pic1_; }
    const std::u16string& TextToEncode() const { return textToEncode_; }
    bool DrawsOnOwnSurface() const override { return ownSurface_; }
    host::ControlSite& Site() { return *site_; }
    // The host sites the control after creating it; every later call reaches the new site.
    void SetSite(std::shared_ptr<host::ControlSite> site);

  private:
    std::int16_t Dispatch(surface::SurfaceHandle& hdc);
    using NumericEncoder = symbology::Encoding (*)(std::u16string_view);
    std::int16_t DrawNumeric(NumericEncoder encode, surface::SurfaceHandle& hdc);
    std::int16_t DrawInterleaved2of5(surface::SurfaceHandle& hdc);
    std::int16_t DrawStandard2of5(surface::SurfaceHandle& hdc);
    std::int16_t DrawCode39(surface::SurfaceHandle& hdc);
    std::int16_t DrawEan13(surface::SurfaceHandle& hdc);
    void SetErrorState(std::int16_t result);

    // What the rendering pipeline reads and writes.
    symbology::BarcodeLayout Layout() const override;
    void StoreBarWidth(std::int32_t moduleCount) override { barWidth_ = moduleCount; }
    void SetOwnSurfaceWidth(std::int32_t width) override { pic1_.SetWidth(width); }
    void SetOwnSurfaceHeight(std::int32_t height) override { pic1_.SetHeight(height); }
    void ProcessPendingEvents() override { site_->ProcessPendingEvents(); }
    surface::SurfaceHandle OwnSurfaceHandle() override { return pic1_.hDC(); }
    void KeepOwnSurfaceDrawing() override { pic1_.KeepImageAsPicture(); }
    surface::TextExtent MeasureText(std::u16string_view text) const override;
    symbology::KeptBarRuns* BarRunsKeeper() override { return &keptBarRuns_; }

    std::shared_ptr<host::ControlSite> site_;
    std::shared_ptr<const surface::Font> font_;
    PictureBox pic1_;

    std::u16string text_;
    std::int32_t barCodeType_ = QvTypeInterleaved2of5;
    std::int32_t positionX_ = 0;
    std::int32_t positionY_ = 0;
    std::int32_t barHeight_ = 0;
    std::int32_t barWidth_ = 0;
    AutomationBool barWidthSource_ = kFalse;
    AutomationBool backgroundWhite_ = kFalse;
    AutomationBool showValue_ = kFalse;
    AutomationBool calculateCheckDigit_ = kFalse;
    AutomationBool errorFound_ = kFalse;
    std::u16string errorDescription_;

    std::u16string textToEncode_;
    bool ownSurface_ = false;

    // The last text's encoding and caption size: labels drawn one after another often carry
    // the same text, and encoding and measuring it cost as much as drawing its bars. Keyed by
    // everything the encoders read; shared so that a drawing keeps its own while host events
    // draw again.
    struct EncodedText {
        std::int32_t type = 0;
        bool checkDigit = false;
        std::u16string text;
        std::int16_t preparedCode = 0;
        std::u16string textToEncode;
        symbology::Encoding encoding;
    };
    std::shared_ptr<const EncodedText> EncodingOfText(NumericEncoder encode);
    std::shared_ptr<const EncodedText> lastEncoded_;
    struct MeasuredText {
        std::u16string text;
        surface::TextExtent extent;
    };
    mutable std::optional<MeasuredText> lastMeasured_;
    symbology::KeptBarRuns keptBarRuns_;
};

}  // namespace qv::control
