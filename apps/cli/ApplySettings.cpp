#include "ApplySettings.h"

#include "host/TextConversion.h"

namespace qv::cli {

void ApplySettings(const BarcodeSettings& settings, control::QvBarCode& control) {
    control.SetText(host::Utf8ToUtf16(settings.text.value_or("")));
    control.SetBarCodeType(settings.barCodeType.value_or(control::QvTypeInterleaved2of5));
    control.SetBarWidth(settings.barWidth);
    control.SetBarHeight(settings.barHeight);
    control.SetBarWidthSource(settings.barWidthSource);
    control.SetBackgroundWhite(settings.backgroundWhite);
    control.SetShowValue(settings.showValue);
    control.SetCalculateCheckDigit(settings.calculateCheckDigit);
}

}  // namespace qv::cli
