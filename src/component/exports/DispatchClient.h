// SPDX-License-Identifier: MIT
#pragma once

#include <qvbarcode/component/Interfaces.h>
#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/host/DispatchObject.h>

namespace qv::component::exports {

// A control reached through its C dispatch table, as a page reaches the host's controls:
// names are looked up in _QvBarCode's member table and every call goes through the object's
// own Invoke, whoever implements it. Holds a reference for as long as it exists.
class DispatchClient final : public host::DispatchObject {
  public:
    // Raises the invalid-value failed call for an object that does not answer to _QvBarCode.
    explicit DispatchClient(QvDispatch* object);
    ~DispatchClient() override;

    const host::InterfaceTable& Interface() const noexcept override { return QvBarCodeInterface(); }

  private:
    host::Variant Run(const host::Member& member, std::span<host::Variant> arguments) override;

    QvDispatch* object_ = nullptr;
};

}  // namespace qv::component::exports
