// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <vector>

#include <qvbarcode/component/PageDispatch.h>
#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/propertypage/PageHost.h>
#include <qvbarcode/propertypage/QvBarCodePP.h>

namespace qv::component::exports {

// The page's host made of a host's C callbacks and the controls it selected; a service
// without a callback, and everything before the host sites the page, is the detached host's.
class HostPageSite final : public propertypage::PageHost {
  public:
    void Site(const QvPageSite* callbacks, void* context,
              std::vector<std::unique_ptr<host::DispatchObject>> controls);

    host::DispatchObject* FirstSelectedControl() override;
    void SetChanged(bool changed) override;
    void ShowMessageBox(std::u16string_view text, int style) override;
    void Beep() override;
    propertypage::TimeOfDay CurrentTime() const override { return detached_.CurrentTime(); }
    std::string UserLanguageName() const override;

  private:
    QvPageSite callbacks_{};
    void* context_ = nullptr;
    std::vector<std::unique_ptr<host::DispatchObject>> controls_;
    propertypage::DetachedPageHost detached_;
};

// A page the class factory makes, with the host through which QvPageSetSite sites it.
class SitedPage final : public PropertyPageOperations {
  public:
    SitedPage();

    void EnableDisableOK() override { page_->EnableDisableOK(); }
    void AllowOnlyNumbers(const std::u16string& xFlag) override { page_->AllowOnlyNumbers(xFlag); }
    void Translate() override { page_->Translate(); }

    // Sites the page and loads the first control, as a change of selection does.
    void Site(const QvPageSite* callbacks, void* context,
              std::vector<std::unique_ptr<host::DispatchObject>> controls);
    void Apply() { page_->ApplyChanges(); }

  private:
    // Declared first so that it outlives the page, whose closing report it shows.
    std::shared_ptr<HostPageSite> host_;
    std::unique_ptr<propertypage::QvBarCodePP> page_;
};

}  // namespace qv::component::exports
