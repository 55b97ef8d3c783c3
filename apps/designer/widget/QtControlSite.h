#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "component/ControlSite.h"

namespace qv::designer {

// Sites a control in a Qt widget: the inner size is the widget's in pixels, the outer size
// is kept in host units and the widget takes it at the site's units per pixel. Once the
// widget is gone the site keeps the sizes by itself.
class QtControlSite final : public component::ControlSite {
  public:
    static constexpr float kUnitsPerPixel = 15.0f;

    explicit QtControlSite(QWidget& widget);

    void PropertyChanged(std::string_view propertyName) override;
    void SetDisplaySetting(std::int16_t setting) override;
    // Lets queued paint and layout work run, but no user input: a click must not start
    // a second drawing inside this one.
    void ProcessPendingEvents() override;

    float OuterWidth() const override { return outerWidth_; }
    float OuterHeight() const override { return outerHeight_; }
    void SetOuterSize(float width, float height) override;
    std::int32_t InnerWidth() const override;
    std::int32_t InnerHeight() const override;
    std::string EnglishLanguageName() const override;

    std::int16_t displaySetting() const { return displaySetting_; }
    std::function<void(std::string_view)> OnPropertyChanged;

  private:
    QPointer<QWidget> widget_;
    float outerWidth_ = 2190.0f;
    float outerHeight_ = 1140.0f;
    std::int16_t displaySetting_ = 1;
};

}  // namespace qv::designer
