#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "control/QvBarCode.h"

namespace qv::designer {

struct SaveResult {
    std::int16_t code = 0;
    std::u16string description;
    // False when the drawing gave no picture to write (a failure or an empty barcode).
    bool written = false;
};

// Draws the control's barcode again with a separate control of the same properties and
// writes it to the path: SVG for a .svg name, PNG otherwise. The form's control keeps its
// surface. A file that cannot be written is a failed call.
SaveResult SavePicture(const control::QvBarCode& control, const QString& path);

}  // namespace qv::designer
