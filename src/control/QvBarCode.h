// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "control/PictureBox.h"
#include "host/ControlSite.h"
#include "host/Export.h"
#include "host/OwnerThread.h"
#include "host/Variant.h"
#include "render/BarcodePlan.h"
#include "symbology/Symbologies.h"

namespace qv::render {
struct KeptBarRuns;
}

namespace qv::control {

// The automation Boolean: True is -1, False 0; setters store other values unchanged.
using AutomationBool = std::int16_t;
constexpr AutomationBool kTrue = -1;
constexpr AutomationBool kFalse = 0;

using symbology::EnumBarCodeType;
using enum symbology::EnumBarCodeType;

// A drawing planned without drawing; the plan's texts are held by texts.
struct QV_EXPORT PlannedBarcode {
    std::shared_ptr<const void> texts;
    render::BarcodePlan plan;
};

// The barcode control. Setters store unchecked and tell the host; Draw renders the barcode
// of Text onto a caller's surface or onto the own surface Pic1, which the control follows
// in size. Expected failures are result codes; a FailedCall ends a call and leaves the
// error state as it was. A control belongs to the thread that created it: every member
// called from another thread raises the wrong-thread FailedCall and changes nothing.
class QV_EXPORT QvBarCode final {
  public:
    explicit QvBarCode(
        std::shared_ptr<host::ControlSite> site = std::make_shared<host::StandaloneSite>(),
        std::shared_ptr<const surface::Font> font = nullptr);
    ~QvBarCode();
    QvBarCode(const QvBarCode&) = delete;
    QvBarCode& operator=(const QvBarCode&) = delete;

    const std::u16string& Text() const { return Checked(text_); }
    void SetText(std::u16string text);
    std::int32_t BarCodeType() const { return Checked(barCodeType_); }
    void SetBarCodeType(std::int32_t type);
    std::int32_t PositionX() const { return Checked(positionX_); }
    void SetPositionX(std::int32_t x);
    std::int32_t PositionY() const { return Checked(positionY_); }
    void SetPositionY(std::int32_t y);
    std::int32_t BarHeight() const { return Checked(barHeight_); }
    void SetBarHeight(std::int32_t height);
    std::int32_t BarWidth() const { return Checked(barWidth_); }
    void SetBarWidth(std::int32_t width);
    AutomationBool BarWidthSource() const { return Checked(barWidthSource_); }
    void SetBarWidthSource(AutomationBool value);
    AutomationBool BackgroundWhite() const { return Checked(backgroundWhite_); }
    void SetBackgroundWhite(AutomationBool value);
    AutomationBool ShowValue() const { return Checked(showValue_); }
    void SetShowValue(AutomationBool value);
    AutomationBool CalculateCheckDigit() const { return Checked(calculateCheckDigit_); }
    void SetCalculateCheckDigit(AutomationBool value);
    AutomationBool ErrorFound() const { return Checked(errorFound_); }
    const std::u16string& ErrorDescription() const { return Checked(errorDescription_); }

    // Draws on the control's own surface; the same as Draw(-1).
    host::Variant Draw();
    // Draws on the surface xhDC names, or with -1 on the own surface, whose handle then
    // comes back in xhDC. Returns the result code as a 16-bit integer Variant.
    host::Variant Draw(surface::SurfaceHandle& xhDC);
    // What Draw would draw now at PositionX, PositionY, planned without drawing anything:
    // plan.code is the result code Draw would return, and for 0 the plan gives the sizes.
    // Raises what Draw raises before it draws. For a caller that needs the barcode's size.
    PlannedBarcode Plan();

    PictureBox& Pic1() { return Checked(pic1_); }
    const PictureBox& Pic1() const { return Checked(pic1_); }
    const std::u16string& TextToEncode() const { return Checked(textToEncode_); }
    bool DrawsOnOwnSurface() const { return Checked(ownSurface_); }
    host::ControlSite& Site() { return Checked(*site_); }
    // The host sites the control after creating it; every later call reaches the new site.
    void SetSite(std::shared_ptr<host::ControlSite> site);

  private:
    // A member, for a caller on the owner's thread.
    template <typename T>
    T& Checked(T& member) const {
        owner_.Check();
        return member;
    }

    struct EncodedText;
    std::shared_ptr<const EncodedText> EncodingOfText(const symbology::Symbology& symbology);
    render::BarcodeLayout Layout() const;
    surface::TextExtent MeasureText(std::u16string_view text) const;
    render::BarcodePlan PlanOf(const symbology::Symbology& symbology, const EncodedText& encoded);
    std::int16_t DrawBarcode(surface::SurfaceHandle& hdc);
    void SetErrorState(std::int16_t result);

    host::OwnerThread owner_;
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
    // the same text, and encoding and measuring it cost as much as drawing its bars. Shared so
    // that a drawing keeps its own while host events draw again.
    std::shared_ptr<const EncodedText> lastEncoded_;
    struct MeasuredText {
        std::u16string text;
        surface::TextExtent extent;
    };
    mutable std::optional<MeasuredText> lastMeasured_;
    std::unique_ptr<render::KeptBarRuns> keptBarRuns_;
};

}  // namespace qv::control
