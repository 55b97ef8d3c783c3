// SPDX-License-Identifier: MIT
#include <qvbarcode/component/ControlDispatch.h>

#include <qvbarcode/component/ArgumentConversion.h>
#include <qvbarcode/control/PropertyTable.h>
#include <qvbarcode/host/FailedCall.h>

namespace qv::component {

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
    const control::PropertyRow* row = control::FindProperty(member);
    if (row == nullptr)
        throw host::FailedCall(host::FailureReason::InvalidValue, "no such property");
    return row->Read(*control_);
}

// The value is converted completely before the setter runs, so a value that cannot be
// converted stores nothing and tells the host nothing.
void ControlDispatch::Write(host::DispatchId member, const host::Variant& value) {
    const control::PropertyRow* row = control::FindProperty(member);
    if (row == nullptr || !row->Writable()) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "no such writable property");
    }
    row->Write(*control_, ToValueOf(row->type, value));
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
