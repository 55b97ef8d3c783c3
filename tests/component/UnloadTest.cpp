// SPDX-License-Identifier: MIT
// A host that loads the library, uses it and closes it can load it again: the last dlclose
// takes it out of the process, so an updated library is the one loaded next.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/LoadedComponent.h"

namespace qv::component {
namespace {

bool LibraryMapped() {
    std::ifstream maps("/proc/self/maps");
    const std::string text{std::istreambuf_iterator<char>(maps), {}};
    return text.find("libqvbarcode-component") != std::string::npos;
}

TEST(Unload, EachCloseAfterDrawingTakesTheLibraryOutOfTheProcess) {
    ASSERT_FALSE(LibraryMapped());
    for (int round = 0; round < 200; ++round) {
        {
            testing::LoadedComponent library;
            ASSERT_TRUE(library.handle) << dlerror();
            testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
            ASSERT_NE(control.get(), nullptr);
            control.SetEan13();
            std::vector<std::uint32_t> pixels(300 * 100);
            std::int32_t hdc = 0;
            ASSERT_EQ(library.createSurface(pixels.data(), 300, 100, 300 * 4, 32, &hdc), QV_S_OK);
            const std::int32_t surface = hdc;
            ASSERT_EQ(control.Draw(hdc), 0);
            ASSERT_EQ(library.releaseSurface(surface), QV_S_OK);
            control.Release();
            ASSERT_EQ(library.canUnloadNow(), QV_S_OK);
        }
        ASSERT_FALSE(LibraryMapped()) << "still mapped after close " << round + 1;
    }
}

}  // namespace
}  // namespace qv::component
