// SPDX-License-Identifier: MIT
#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>

#include <qvbarcode/control/ControlTypes.h>
#include <qvbarcode/control/PictureBox.h>
#include <qvbarcode/host/ControlSite.h>
#include <qvbarcode/host/Export.h>
#include <qvbarcode/host/Variant.h>
#include <qvbarcode/surface/DrawingSurface.h>
#include <qvbarcode/surface/Font.h>
#include <qvbarcode/surface/SurfaceHandles.h>

namespace qv::control {

struct PlannedBarcode;

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

    const std::u16string& Text() const;
    void SetText(std::u16string text);
    std::int32_t BarCodeType() const;
    void SetBarCodeType(std::int32_t type);
    std::int32_t PositionX() const;
    void SetPositionX(std::int32_t x);
    std::int32_t PositionY() const;
    void SetPositionY(std::int32_t y);
    std::int32_t BarHeight() const;
    void SetBarHeight(std::int32_t height);
    std::int32_t BarWidth() const;
    void SetBarWidth(std::int32_t width);
    AutomationBool BarWidthSource() const;
    void SetBarWidthSource(AutomationBool value);
    AutomationBool BackgroundWhite() const;
    void SetBackgroundWhite(AutomationBool value);
    AutomationBool ShowValue() const;
    void SetShowValue(AutomationBool value);
    AutomationBool CalculateCheckDigit() const;
    void SetCalculateCheckDigit(AutomationBool value);
    AutomationBool ErrorFound() const;
    const std::u16string& ErrorDescription() const;

    // Draws on the control's own surface; the same as Draw(-1).
    host::Variant Draw();
    // Draws on the surface xhDC names, or with -1 on the own surface, whose handle then
    // comes back in xhDC. Returns the result code as a 16-bit integer Variant.
    host::Variant Draw(surface::SurfaceHandle& xhDC);

    // The same members in C++ types: texts in UTF-8 (ill-formed bytes become U+FFFD), flags
    // as bool (true is stored as kTrue; any stored value but kFalse reads true), the type as
    // BarcodeType. The setters are overloads of the members above; the getters are named
    // apart, since they differ only in what they return.
    void SetText(const std::string& utf8);
    std::string TextUtf8() const;
    std::string ErrorDescriptionUtf8() const;
    void SetBarCodeType(BarcodeType type) { SetBarCodeType(static_cast<std::int32_t>(type)); }
    BarcodeType BarCodeTypeEnum() const { return static_cast<BarcodeType>(BarCodeType()); }
    // Templates, so that an int argument still takes the AutomationBool setter.
    template <std::same_as<bool> Flag>
    void SetBarWidthSource(Flag on) {
        SetBarWidthSource(on ? kTrue : kFalse);
    }
    template <std::same_as<bool> Flag>
    void SetBackgroundWhite(Flag on) {
        SetBackgroundWhite(on ? kTrue : kFalse);
    }
    template <std::same_as<bool> Flag>
    void SetShowValue(Flag on) {
        SetShowValue(on ? kTrue : kFalse);
    }
    template <std::same_as<bool> Flag>
    void SetCalculateCheckDigit(Flag on) {
        SetCalculateCheckDigit(on ? kTrue : kFalse);
    }
    bool IsBarWidthSource() const { return BarWidthSource() != kFalse; }
    bool IsBackgroundWhite() const { return BackgroundWhite() != kFalse; }
    bool IsShowValue() const { return ShowValue() != kFalse; }
    bool IsCalculateCheckDigit() const { return CalculateCheckDigit() != kFalse; }
    bool IsErrorFound() const { return ErrorFound() != kFalse; }
    // Draws on surface at PositionX, PositionY, as Draw does on a surface's handle.
    ResultCode Draw(surface::DrawingSurface& surface);

    PictureBox& Pic1();
    const PictureBox& Pic1() const;
    const std::u16string& TextToEncode() const;
    bool DrawsOnOwnSurface() const;
    host::ControlSite& Site();
    // The host sites the control after creating it; every later call reaches the new site.
    void SetSite(std::shared_ptr<host::ControlSite> site);

  private:
    // The tree's own planning, which reads the state (ControlPlanning.h).
    friend QV_EXPORT PlannedBarcode PlanOf(QvBarCode& control);

    // Everything the control holds, out of sight so that it may change without its users
    // being built again.
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace qv::control
