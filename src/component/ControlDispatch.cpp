#include "component/ControlDispatch.h"

#include "component/ArgumentConversion.h"
#include "host/FailedCall.h"

namespace qv::component {
namespace {

namespace id {
constexpr host::DispatchId Text = 0x6803000B;
constexpr host::DispatchId BarCodeType = 0x6803000A;
constexpr host::DispatchId PositionX = 0x68030009;
constexpr host::DispatchId PositionY = 0x68030008;
constexpr host::DispatchId BarHeight = 0x68030007;
constexpr host::DispatchId BarWidth = 0x68030006;
constexpr host::DispatchId BarWidthSource = 0x68030005;
constexpr host::DispatchId BackgroundWhite = 0x68030004;
constexpr host::DispatchId ShowValue = 0x68030003;
constexpr host::DispatchId ErrorFound = 0x68030002;
constexpr host::DispatchId ErrorDescription = 0x68030001;
constexpr host::DispatchId CalculateCheckDigit = 0x68030000;
}  // namespace id

}  // namespace

ControlDispatch::ControlDispatch(std::shared_ptr<control::QvBarCode> control)
    : control_(std::move(control)) {
    if (!control_)
        throw host::FailedCall(host::FailureReason::InvalidValue, "no control to dispatch to");
}

host::Variant ControlDispatch::Run(const host::Member& member, std::span<host::Variant> arguments) {
    switch (member.kind) {
        case host::MemberKind::Get:
            return Read(member.id);
        case host::MemberKind::Let:
            Write(member.id, arguments[0]);
            return host::Variant();
        case host::MemberKind::Method:
            return Draw(arguments);
    }
    throw host::FailedCall(host::FailureReason::InvalidValue, "unknown kind of call");
}

host::Variant ControlDispatch::Read(host::DispatchId member) const {
    const control::QvBarCode& c = *control_;
    switch (member) {
        case id::Text:
            return host::Variant::FromText(c.Text());
        case id::BarCodeType:
            return host::Variant::FromInt32(c.BarCodeType());
        case id::PositionX:
            return host::Variant::FromInt32(c.PositionX());
        case id::PositionY:
            return host::Variant::FromInt32(c.PositionY());
        case id::BarHeight:
            return host::Variant::FromInt32(c.BarHeight());
        case id::BarWidth:
            return host::Variant::FromInt32(c.BarWidth());
        case id::BarWidthSource:
            return host::Variant::FromAutomationBool(c.BarWidthSource());
        case id::BackgroundWhite:
            return host::Variant::FromAutomationBool(c.BackgroundWhite());
        case id::ShowValue:
            return host::Variant::FromAutomationBool(c.ShowValue());
        case id::ErrorFound:
            return host::Variant::FromAutomationBool(c.ErrorFound());
        case id::ErrorDescription:
            return host::Variant::FromText(c.ErrorDescription());
        case id::CalculateCheckDigit:
            return host::Variant::FromAutomationBool(c.CalculateCheckDigit());
    }
    throw host::FailedCall(host::FailureReason::InvalidValue, "no such property");
}

// The value is converted completely before the setter runs, so a value that cannot be
// converted stores nothing and tells the host nothing.
void ControlDispatch::Write(host::DispatchId member, const host::Variant& value) {
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
    throw host::FailedCall(host::FailureReason::InvalidValue, "no such writable property");
}

// Draw works on a copy of xhDC and writes it back only when it returns, so a failed call
// leaves the caller's variable as it was.
host::Variant ControlDispatch::Draw(std::span<host::Variant> arguments) {
    const bool given = !arguments.empty() && !arguments[0].IsEmpty();
    surface::SurfaceHandle hdc = given ? ToWholeNumber(arguments[0]) : surface::kNoSurface;
    host::Variant result = control_->Draw(hdc);
    if (given) arguments[0] = host::Variant::FromInt32(hdc);
    return result;
}

}  // namespace qv::component
