// SPDX-License-Identifier: MIT
#include "QtTestApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace qv::designer::test {

namespace {

std::unique_ptr<QApplication> application;

class QtEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        // ctest sets the platform; a run by hand gets the one that needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_designer";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { application.reset(); }
};

// GoogleTest takes ownership of the environment it is given.
const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QApplication& Application() {
    return *application;
}

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
