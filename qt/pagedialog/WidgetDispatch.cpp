// SPDX-License-Identifier: MIT
#include "WidgetDispatch.h"

#include <qvbarcode/component/ArgumentConversion.h>
#include <qvbarcode/component/Interfaces.h>
#include <qvbarcode/host/FailedCall.h>

namespace qv::pagedialog {

using host::ValueType;
using host::Variant;

namespace {

Variant FromQVariant(const QVariant& value, ValueType type) {
    switch (type) {
        case ValueType::String:
            return Variant::FromText(value.toString().toStdU16String());
        case ValueType::Boolean:
            return Variant::FromBool(value.toBool());
        default:
            return Variant::FromInt32(value.toInt());
    }
}

QVariant ToQVariant(const Variant& value, ValueType type) {
    switch (type) {
        case ValueType::String:
            return QString::fromStdU16String(component::ToText(value));
        case ValueType::Boolean:
            return component::ToAutomationBool(value) != 0;
        default:
            return component::ToWholeNumber(value);
    }
}

}  // namespace

WidgetDispatch::WidgetDispatch(QvBarCodeWidget& widget, std::shared_ptr<PropertyTarget> target)
    : widget_(&widget), target_(target ? std::move(target) : std::make_shared<PropertyTarget>()) {}

const host::InterfaceTable& WidgetDispatch::Interface() const noexcept {
    return component::QvBarCodeInterface();
}

Variant WidgetDispatch::Run(const host::Member& member, std::span<Variant> arguments) {
    if (!widget_) {
        throw host::FailedCall(host::FailureReason::PlatformFailure, "the widget is gone");
    }
    const QByteArray name(member.name.data(), static_cast<qsizetype>(member.name.size()));
    switch (member.kind) {
        case host::MemberKind::Get:
            return FromQVariant(widget_->property(name.constData()), member.type);
        case host::MemberKind::Let: {
            const QVariant value = ToQVariant(arguments[0], member.type);
            if (widget_->property(name.constData()) != value) {
                target_->Write(*widget_, name.constData(), value);
            }
            return Variant();
        }
        case host::MemberKind::Method:
            if (!arguments.empty() && !arguments[0].IsEmpty()) {
                throw host::FailedCall(host::FailureReason::InvalidValue,
                                       "the page draws only on the widget's own surface");
            }
            return widget_->DrawOwnSurface();
    }
    throw host::FailedCall(host::FailureReason::InvalidValue, "unknown kind of call");
}

}  // namespace qv::pagedialog
