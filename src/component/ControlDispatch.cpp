#include "component/ControlDispatch.h"

#include "component/ArgumentConversion.h"
#include "component/FailedCall.h"

namespace qv::component {
namespace {

namespace id {
constexpr DispatchId Text = 0x6803000B;
constexpr DispatchId BarCodeType = 0x6803000A;
constexpr DispatchId PositionX = 0x68030009;
constexpr DispatchId PositionY = 0x68030008;
constexpr DispatchId BarHeight = 0x68030007;
constexpr DispatchId BarWidth = 0x68030006;
constexpr DispatchId BarWidthSource = 0x68030005;
constexpr DispatchId BackgroundWhite = 0x68030004;
constexpr DispatchId ShowValue = 0x68030003;
constexpr DispatchId ErrorFound = 0x68030002;
constexpr DispatchId ErrorDescription = 0x68030001;
constexpr DispatchId CalculateCheckDigit = 0x68030000;
}  // namespace id

// The control keeps Booleans as it got them; a Variant Boolean is True for any non-zero.
Variant BoolVariant(control::AutomationBool value) {
    return Variant::FromBool(value != 0);
}

}  // namespace

ControlDispatch::ControlDispatch(std::shared_ptr<control::QvBarCode> control)
    : control_(std::move(control)) {
    if (!control_) throw FailedCall(FailureReason::InvalidValue, "no control to dispatch to");
}

Variant ControlDispatch::Run(const Member& member, std::span<Variant> arguments) {
    switch (member.kind) {
        case MemberKind::Get:
            return Read(member.id);
        case MemberKind::Let:
            Write(member.id, arguments[0]);
            return Variant();
        case MemberKind::Method:
            return Draw(arguments);
    }
    throw FailedCall(FailureReason::InvalidValue, "unknown kind of call");
}

Variant ControlDispatch::Read(DispatchId member) const {
    const control::QvBarCode& c = *control_;
    switch (member) {
        case id::Text:
            return Variant::FromText(c.Text());
        case id::BarCodeType:
            return Variant::FromInt32(c.BarCodeType());
        case id::PositionX:
            return Variant::FromInt32(c.PositionX());
        case id::PositionY:
            return Variant::FromInt32(c.PositionY());
        case id::BarHeight:
            return Variant::FromInt32(c.BarHeight());
        case id::BarWidth:
            return Variant::FromInt32(c.BarWidth());
        case id::BarWidthSource:
            return BoolVariant(c.BarWidthSource());
        case id::BackgroundWhite:
            return BoolVariant(c.BackgroundWhite());
        case id::ShowValue:
            return BoolVariant(c.ShowValue());
        case id::ErrorFound:
            return BoolVariant(c.ErrorFound());
        case id::ErrorDescription:
            return Variant::FromText(c.ErrorDescription());
        case id::CalculateCheckDigit:
            return BoolVariant(c.CalculateCheckDigit());
    }
    throw FailedCall(FailureReason::InvalidValue, "no such property");
}

// The value is converted completely before the setter runs, so a value that cannot be
// converted stores nothing and tells the host nothing.
void ControlDispatch::Write(DispatchId member, const Variant& value) {
    control::QvBarCode& c = *control_;
    switch (member) {
        case id::Text:
            return c.SetText(ToText(value));
        case id::BarCodeType:
            return c.SetBarCodeType(ToWholeNumber(value));
        case id::PositionX:
            return c.SetPositionX(ToWholeNumber(value));
        case id::PositionY:
            return c.SetPositionY(ToWholeNumber(value));
        case id::BarHeight:
            return c.SetBarHeight(ToWholeNumber(value));
        case id::BarWidth:
            return c.SetBarWidth(ToWholeNumber(value));
        case id::BarWidthSource:
            return c.SetBarWidthSource(ToAutomationBool(value));
        case id::BackgroundWhite:
            return c.SetBackgroundWhite(ToAutomationBool(value));
        case id::ShowValue:
            return c.SetShowValue(ToAutomationBool(value));
        case id::CalculateCheckDigit:
            return c.SetCalculateCheckDigit(ToAutomationBool(value));
    }
    throw FailedCall(FailureReason::InvalidValue, "no such writable property");
}

// Draw works on a copy of xhDC and writes it back only when it returns, so a failed call
// leaves the caller's variable as it was.
Variant ControlDispatch::Draw(std::span<Variant> arguments) {
    const bool given = !arguments.empty() && !arguments[0].IsEmpty();
    symbology::SurfaceHandle hdc = given ? ToWholeNumber(arguments[0]) : symbology::kNoSurface;
    Variant result = control_->Draw(hdc);
    if (given) arguments[0] = Variant::FromInt32(hdc);
    return result;
}

}  // namespace qv::component
