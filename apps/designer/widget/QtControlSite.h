#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "host/ControlSite.h"

namespace qv::designer {

// Sites a control in a Qt widget: the inner size is the widget's in pixels, the outer size
// is kept in host units and the widget takes it at the site's units per pixel. Once the
// widget is gone the site keeps the sizes by itself.
class QtControlSite final : public host::StandaloneSite {
  public:
    explicit QtControlSite(QWidget& widget);

    void PropertyChanged(std::string_view propertyName) override;
    void SetDisplaySetting(std::int16_t setting) override;
    // Lets queued paint and layout work run, but no user input: a click must not start
    // a second drawing inside this one.
    void ProcessPendingEvents() override;

    void SetOuterSize(float width, float height) override;
    std::int32_t InnerWidth() const override;
    std::int32_t InnerHeight() const override;

    std::function<void(std::string_view)> OnPropertyChanged;

  private:
    QPointer<QWidget> widget_;
};

}  // namespace qv::designer
