#include "QtControlSite.h"

#include <QCoreApplication>
#include <cmath>

#include "component/FailedCall.h"
#include "component/UserLanguage.h"

namespace qv::designer {

namespace {

int Pixels(float units) {
    return static_cast<int>(std::lround(units / QtControlSite::kUnitsPerPixel));
}

}  // namespace

QtControlSite::QtControlSite(QWidget& widget) : widget_(&widget) {
    widget_->setFixedSize(Pixels(outerWidth_), Pixels(outerHeight_));
}

void QtControlSite::PropertyChanged(std::string_view propertyName) {
    if (OnPropertyChanged) OnPropertyChanged(propertyName);
}

// 1: the control paints its background behind its surface; 0: the parent shows through.
void QtControlSite::SetDisplaySetting(std::int16_t setting) {
    displaySetting_ = setting;
    if (widget_) {
        widget_->setAutoFillBackground(setting == 1);
        widget_->update();
    }
}

void QtControlSite::ProcessPendingEvents() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void QtControlSite::SetOuterSize(float width, float height) {
    if (!std::isfinite(width) || !std::isfinite(height) || width < 0.0f || height < 0.0f ||
        width / kUnitsPerPixel > QWIDGETSIZE_MAX || height / kUnitsPerPixel > QWIDGETSIZE_MAX) {
        throw component::FailedCall(component::FailureReason::InvalidValue,
                                    "control size must be finite and fit a widget");
    }
    outerWidth_ = width;
    outerHeight_ = height;
    if (widget_) {
        widget_->setFixedSize(Pixels(width), Pixels(height));
    }
}

std::int32_t QtControlSite::InnerWidth() const {
    return widget_ ? widget_->width() : Pixels(outerWidth_);
}

std::int32_t QtControlSite::InnerHeight() const {
    return widget_ ? widget_->height() : Pixels(outerHeight_);
}

std::string QtControlSite::EnglishLanguageName() const {
    return component::UserLanguageName();
}

}  // namespace qv::designer
