// SPDX-License-Identifier: MIT
#include "QtControlSite.h"

#include <QWidget>

#include <qvbarcode/host/FailedCall.h>

namespace qv::widget {

void QtControlSite::PropertyChanged(std::string_view propertyName) {
    if (onPropertyChanged) onPropertyChanged(propertyName);
}

void QtControlSite::SetDisplaySetting(std::int16_t setting) {
    StandaloneSite::SetDisplaySetting(setting);
    if (onDisplaySetting) onDisplaySetting(setting);
}

void QtControlSite::SetOuterSize(float width, float height) {
    if (width / unitsPerPixel() > QWIDGETSIZE_MAX || height / unitsPerPixel() > QWIDGETSIZE_MAX) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "control size must fit a widget");
    }
    StandaloneSite::SetOuterSize(width, height);
}

}  // namespace qv::widget
