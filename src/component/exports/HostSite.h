// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/host/ControlSite.h>

namespace qv::component::exports {

// A host callback's answer: anything but 0 is the host's failure, and ends the operation
// that called it as a failed call.
void CheckCallback(std::int32_t returned, std::string_view callback);

// The language a host's callback names, read into a buffer the callback cannot overrun.
using LanguageCallback = std::int32_t (*)(void* context, char* name, std::uint32_t capacity);
std::string HostLanguageName(LanguageCallback callback, void* context);

// The control's site made of a host's C callbacks; a service without a callback is the one
// a StandaloneSite gives.
class HostControlSite final : public host::ControlSite {
  public:
    // Raises the invalid-value failed call for a table with only some of the size callbacks
    // or units per pixel that are not a positive number.
    HostControlSite(const QvControlSite& callbacks, void* context);

    void PropertyChanged(std::string_view propertyName) override;
    void SetDisplaySetting(std::int16_t setting) override;
    void ProcessPendingEvents() override;
    float OuterWidth() const override { return OuterSize().first; }
    float OuterHeight() const override { return OuterSize().second; }
    void SetOuterSize(float width, float height) override;
    std::int32_t InnerWidth() const override { return InnerSize().first; }
    std::int32_t InnerHeight() const override { return InnerSize().second; }
    std::string EnglishLanguageName() const override;

  private:
    bool HostKeepsSize() const { return callbacks_.getOuterSize != nullptr; }
    std::pair<float, float> OuterSize() const;
    std::pair<std::int32_t, std::int32_t> InnerSize() const;

    QvControlSite callbacks_;
    void* context_;
    host::StandaloneSite own_;
};

}  // namespace qv::component::exports
