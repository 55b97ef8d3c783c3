#include "QtControlSite.h"

#include <QCoreApplication>
#include <cmath>

#include "host/FailedCall.h"

namespace qv::designer {

QtControlSite::QtControlSite(QWidget& widget) : widget_(&widget) {
    widget_->setFixedSize(StandaloneSite::InnerWidth(), StandaloneSite::InnerHeight());
}

void QtControlSite::PropertyChanged(std::string_view propertyName) {
    if (OnPropertyChanged) OnPropertyChanged(propertyName);
}

// 1: the control paints its background behind its surface; 0: the parent shows through.
void QtControlSite::SetDisplaySetting(std::int16_t setting) {
    StandaloneSite::SetDisplaySetting(setting);
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
    if (width / unitsPerPixel() > QWIDGETSIZE_MAX || height / unitsPerPixel() > QWIDGETSIZE_MAX) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "control size must fit a widget");
    }
    StandaloneSite::SetOuterSize(width, height);
    if (widget_) {
        widget_->setFixedSize(StandaloneSite::InnerWidth(), StandaloneSite::InnerHeight());
    }
}

std::int32_t QtControlSite::InnerWidth() const {
    return widget_ ? widget_->width() : StandaloneSite::InnerWidth();
}

std::int32_t QtControlSite::InnerHeight() const {
    return widget_ ? widget_->height() : StandaloneSite::InnerHeight();
}

}  // namespace qv::designer
