// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string_view>

#include <qvbarcode/host/ControlSite.h>

namespace qv::widget {

// Sites a control in a Qt widget. The control's size is kept here, in host units at the
// site's units per pixel; the widget takes its own size from what it shows after a good
// drawing, so neither a layout nor a failed drawing changes the control's, and its ratios
// stay true.
class QtControlSite final : public host::StandaloneSite {
  public:
    void PropertyChanged(std::string_view propertyName) override;
    void SetDisplaySetting(std::int16_t setting) override;
    // Nothing is pending that a drawing needs: the resize handling has already run. Running
    // the event loop here would let queued work, a second drawing among it, run inside this
    // drawing.
    void ProcessPendingEvents() override {}
    // Refuses a size larger than a widget can be.
    void SetOuterSize(float width, float height) override;

    // What the widget does when the control tells it something.
    std::function<void(std::string_view)> onPropertyChanged;
    std::function<void(std::int16_t)> onDisplaySetting;
};

}  // namespace qv::widget
