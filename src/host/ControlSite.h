// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <qvbarcode/host/Export.h>

namespace qv::host {

// What a control asks of the host that sites it. Every call may fail by throwing FailedCall;
// the failure ends the control operation that made the call.
class QV_EXPORT ControlSite {
  public:
    virtual ~ControlSite() = default;

    // The host learns that the named property changed.
    virtual void PropertyChanged(std::string_view propertyName) = 0;
    // 1 while the control shows its own surface, 0 while it draws on a caller's surface.
    virtual void SetDisplaySetting(std::int16_t setting) = 0;
    // Runs the work the host has queued, the surface's resize notifications included.
    virtual void ProcessPendingEvents() = 0;

    // The control's size as the host keeps it: outer in host units, inner in pixels.
    virtual float OuterWidth() const = 0;
    virtual float OuterHeight() const = 0;
    virtual void SetOuterSize(float width, float height) = 0;
    virtual std::int32_t InnerWidth() const = 0;
    virtual std::int32_t InnerHeight() const = 0;
    // Host units per pixel, for the resize handling when the control's size cannot tell
    // (no inner area on either axis); nothing when the host does not know.
    virtual std::optional<float> HostUnitsPerPixel() const { return std::nullopt; }

    // The English name of the user's language, for choosing message texts.
    virtual std::string EnglishLanguageName() const = 0;
};

// A site for a control that lives outside any host form: the command-line program, tests,
// the designer's preview. Its size is kept in host units at a settable ratio to pixels.
class QV_EXPORT StandaloneSite : public ControlSite {
  public:
    static constexpr float kDefaultUnitsPerPixel = 15.0f;

    explicit StandaloneSite(float unitsPerPixel = kDefaultUnitsPerPixel);

    void PropertyChanged(std::string_view) override {}
    void SetDisplaySetting(std::int16_t setting) override { displaySetting_ = setting; }
    void ProcessPendingEvents() override {}

    float OuterWidth() const override { return outerWidth_; }
    float OuterHeight() const override { return outerHeight_; }
    void SetOuterSize(float width, float height) override;
    std::int32_t InnerWidth() const override;
    std::int32_t InnerHeight() const override;
    std::optional<float> HostUnitsPerPixel() const override { return unitsPerPixel_; }

    std::string EnglishLanguageName() const override;

    std::int16_t displaySetting() const { return displaySetting_; }
    float unitsPerPixel() const { return unitsPerPixel_; }
    void SetUnitsPerPixel(float unitsPerPixel);

  private:
    float unitsPerPixel_;
    float outerWidth_ = 2190.0f;
    float outerHeight_ = 1140.0f;
    std::int16_t displaySetting_ = 1;
};

}  // namespace qv::host
