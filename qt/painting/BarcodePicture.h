// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/Export.h>
#include <qvbarcode/symbology/QuietZone.h>

namespace qv::painting {

using symbology::QuietZone;

// What a drawing of the control shows, kept apart from the control so that a Qt control can
// paint it again at whatever resolution its screen or printer has: the bars in modules, their
// size in the control's pixels (logical pixels on a screen), the frame and the caption.
struct QV_EXPORT BarcodePicture {
    std::string modules;
    std::u16string caption;    // empty without ShowValue
    double moduleWidth = 1.0;  // logical pixels per module
    double barHeight = 0.0;    // logical pixels of the bars' rows
    bool whiteFrame = false;
    bool showValue = false;
    QuietZone quietZone;  // modules of space left and right of the frame
};

// The quiet zone a scanner wants beside a BarCodeType's bars, from the symbology table; none
// for a value no symbology has.
QV_EXPORT QuietZone StandardQuietZone(std::int32_t type);
// A quiet zone of `modules` on both sides, or the type's standard one for a negative count.
QV_EXPORT QuietZone QuietZoneOf(std::int32_t type, std::int32_t modules);

// What the control's Draw draws now, at its module width and bar height, when that is a
// drawing (result code 0); nothing for a result code. Raises what Plan raises.
QV_EXPORT std::optional<BarcodePicture> PictureOf(control::QvBarCode& control, QuietZone quietZone);

// The control's text, symbology, check digit, caption and frame as a picture of any size, its
// module width and height left at 1 and 0: whatever BarWidth and BarHeight say. Returns 0 or
// the result code the text or type gives (blank, invalid type or character, length).
QV_EXPORT std::int16_t EncodePicture(const control::QvBarCode& control, QuietZone quietZone,
                                     BarcodePicture& picture);

}  // namespace qv::painting
