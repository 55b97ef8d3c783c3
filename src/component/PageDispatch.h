#pragma once

#include <memory>
#include <string>

#include "component/Interfaces.h"
#include "host/DispatchObject.h"

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

// Adapts any page object with those three members, so the component layer needs nothing
// else of the page's own class.
template <typename Page>
class PageOperationsOf final : public PropertyPageOperations {
  public:
    explicit PageOperationsOf(std::shared_ptr<Page> page) : page_(std::move(page)) {}
    void EnableDisableOK() override { page_->EnableDisableOK(); }
    void AllowOnlyNumbers(const std::u16string& xFlag) override { page_->AllowOnlyNumbers(xFlag); }
    void Translate() override { page_->Translate(); }
    Page& page() { return *page_; }

  private:
    std::shared_ptr<Page> page_;
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
