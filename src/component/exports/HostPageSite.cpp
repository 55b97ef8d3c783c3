// SPDX-License-Identifier: MIT
#include <qvbarcode/component/exports/HostPageSite.h>

#include <qvbarcode/component/exports/HostSite.h>
#include <qvbarcode/host/TextConversion.h>

namespace qv::component::exports {

void HostPageSite::Site(const QvPageSite* callbacks, void* context,
                        std::vector<std::unique_ptr<host::DispatchObject>> controls) {
    callbacks_ = callbacks ? *callbacks : QvPageSite{};
    context_ = context;
    controls_ = std::move(controls);
}

host::DispatchObject* HostPageSite::FirstSelectedControl() {
    return controls_.empty() ? nullptr : controls_.front().get();
}

void HostPageSite::SetChanged(bool changed) {
    if (callbacks_.changed == nullptr) return detached_.SetChanged(changed);
    CheckCallback(callbacks_.changed(context_, changed ? 1 : 0), "changed");
}

void HostPageSite::ShowMessageBox(std::u16string_view text, int style) {
    if (callbacks_.showMessageBox == nullptr) return detached_.ShowMessageBox(text, style);
    const std::string utf8 = host::Utf16ToUtf8(text);
    CheckCallback(callbacks_.showMessageBox(context_, utf8.c_str(), style), "showMessageBox");
}

void HostPageSite::Beep() {
    if (callbacks_.beep == nullptr) return detached_.Beep();
    CheckCallback(callbacks_.beep(context_), "beep");
}

std::string HostPageSite::UserLanguageName() const {
    if (callbacks_.getLanguageName == nullptr) return detached_.UserLanguageName();
    return HostLanguageName(callbacks_.getLanguageName, context_);
}

SitedPage::SitedPage()
    : host_(std::make_shared<HostPageSite>()),
      page_(std::make_unique<propertypage::QvBarCodePP>(host_)) {}

void SitedPage::Site(const QvPageSite* callbacks, void* context,
                     std::vector<std::unique_ptr<host::DispatchObject>> controls) {
    host_->Site(callbacks, context, std::move(controls));
    page_->SelectionChanged();
}

}  // namespace qv::component::exports
