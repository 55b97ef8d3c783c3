#pragma once

#include <memory>

#include "component/DispatchObject.h"
#include "control/QvBarCode.h"

namespace qv::component {

// _QvBarCode over a control: the setters get converted values, Draw its optional
// by-reference xhDC, and every result comes back as a Variant.
class ControlDispatch final : public DispatchObject {
  public:
    explicit ControlDispatch(std::shared_ptr<control::QvBarCode> control);

    const InterfaceTable& Interface() const noexcept override { return QvBarCodeInterface(); }
    control::QvBarCode& Control() { return *control_; }

  private:
    Variant Run(const Member& member, std::span<Variant> arguments) override;
    Variant Read(DispatchId id) const;
    void Write(DispatchId id, const Variant& value);
    Variant Draw(std::span<Variant> arguments);

    std::shared_ptr<control::QvBarCode> control_;
};

}  // namespace qv::component
