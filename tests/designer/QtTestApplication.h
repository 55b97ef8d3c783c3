// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QImage>
#include <QString>
#include <ostream>
#include <string>

#include <qvbarcode/surface/RasterSurface.h>

namespace qv::designer::test {

// The first pixel where the two pictures differ by more than the tolerance in a colour
// channel, described; empty when they match (sizes included).
std::string FirstDifference(const surface::RasterSurface& expected, const QImage& actual,
                            int tolerance = 0);

}  // namespace qv::designer::test

// Failure messages show Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
