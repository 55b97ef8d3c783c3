// SPDX-License-Identifier: MIT
#include "drawing/ApplySettings.h"

#include <qvbarcode/host/TextConversion.h>

namespace qv::cli {

void ApplySettings(const BarcodeSettings& settings, const ControlSize& size,
                   control::QvBarCode& control) {
    control.SetText(host::Utf8ToUtf16(settings.text.value_or("")));
    control.SetBarCodeType(settings.barCodeType.value_or(control::QvTypeInterleaved2of5));
    control.SetBarWidth(size.barWidth);
    control.SetBarHeight(size.barHeight);
    // BarWidthSource as the size resolved it, the other flags as given.
    for (const control::PropertyRow& row : control::kProperties) {
        if (const auto flag = FlagOf(row.property)) {
            const AutomationBool value = row.property == control::Property::BarWidthSource
                                             ? size.barWidthSource
                                             : settings.*flag;
            row.Write(control, host::Variant::FromAutomationBool(value));
        }
    }
}

}  // namespace qv::cli
