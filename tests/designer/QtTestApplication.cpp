// SPDX-License-Identifier: MIT
#include "QtTestApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Every test of a Qt suite runs inside one application, made before the first test. ctest sets
// the platform; a run by hand gets the one that needs no display, where Qt Quick, without
// OpenGL, draws in software.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

namespace qv::designer::test {

std::string FirstDifference(const surface::RasterSurface& expected, const QImage& actual,
                            int tolerance) {
    if (expected.width() != actual.width() || expected.height() != actual.height()) {
        return "the sizes differ";
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QColor got = actual.pixelColor(x, y);
            const surface::Colour want = expected.PixelAt(x, y);
            if (std::abs(got.red() - surface::RedOf(want)) > tolerance ||
                std::abs(got.green() - surface::GreenOf(want)) > tolerance ||
                std::abs(got.blue() - surface::BlueOf(want)) > tolerance) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " differs";
            }
        }
    }
    return {};
}

}  // namespace qv::designer::test
