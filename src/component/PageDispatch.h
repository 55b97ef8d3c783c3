// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include <qvbarcode/component/Interfaces.h>
#include <qvbarcode/host/DispatchObject.h>

namespace qv::component {

// The three public operations of a property page, as its interface _QvBarCodePP offers them.
class PropertyPageOperations {
  public:
    virtual ~PropertyPageOperations() = default;
    virtual void EnableDisableOK() = 0;
    // xFlag is passed by reference for the host's sake; the page leaves it unchanged.
    virtual void AllowOnlyNumbers(const std::u16string& xFlag) = 0;
    virtual void Translate() = 0;
};

// _QvBarCodePP over a page: each operation returns the empty Variant.
class PageDispatch final : public host::DispatchObject {
  public:
    explicit PageDispatch(std::shared_ptr<PropertyPageOperations> page);

    const host::InterfaceTable& Interface() const noexcept override {
        return QvBarCodePPInterface();
    }
    PropertyPageOperations& Page() { return *page_; }

  private:
    host::Variant Run(const host::Member& member, std::span<host::Variant> arguments) override;

    std::shared_ptr<PropertyPageOperations> page_;
};

}  // namespace qv::component
