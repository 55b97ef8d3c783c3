#include "drawing/ApplySettings.h"

#include "host/TextConversion.h"

namespace qv::cli {

void ApplySettings(const BarcodeSettings& settings, const ControlSize& size,
                   control::QvBarCode& control) {
    control.SetText(host::Utf8ToUtf16(settings.text.value_or("")));
    control.SetBarCodeType(settings.barCodeType.value_or(control::QvTypeInterleaved2of5));
    control.SetBarWidth(size.barWidth);
    control.SetBarHeight(size.barHeight);
    control.SetBarWidthSource(size.barWidthSource);
    control.SetBackgroundWhite(settings.backgroundWhite);
    control.SetShowValue(settings.showValue);
    control.SetCalculateCheckDigit(settings.calculateCheckDigit);
}

}  // namespace qv::cli
