// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <qvbarcode/component/Interfaces.h>
#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/DispatchObject.h>

namespace qv::component {

// _QvBarCode over a control: the setters get converted values, Draw its optional
// by-reference xhDC, and every result comes back as a Variant.
class ControlDispatch final : public host::DispatchObject {
  public:
    explicit ControlDispatch(std::shared_ptr<control::QvBarCode> control);

    const host::InterfaceTable& Interface() const noexcept override { return QvBarCodeInterface(); }
    control::QvBarCode& Control() { return *control_; }

  private:
    host::Variant Run(const host::Member& member, std::span<host::Variant> arguments) override;
    host::Variant Read(host::DispatchId id) const;
    void Write(host::DispatchId id, const host::Variant& value);
    host::Variant Draw(std::span<host::Variant> arguments);

    std::shared_ptr<control::QvBarCode> control_;
};

}  // namespace qv::component
