// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string_view>

#include <qvbarcode/propertypage/PageFields.h>

namespace qv::pagedialog {

// The page's units, fonts and colours as Qt takes them.
QRect ToPixels(const propertypage::TwipsRect& rect);
// The page's families mapped to installed ones of the same size and weight.
QFont ToQFont(const propertypage::FontChoice& font);
QColor ToQColor(propertypage::Colour colour);
Qt::Alignment ToQtAlignment(propertypage::Alignment alignment);

QString ToQString(std::u16string_view text);
std::u16string ToU16(const QString& text);

}  // namespace qv::pagedialog
