// Surfaces over a host's memory, and Pic1's picture read back into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "support/LoadedComponent.h"
#include "surface/HostMemorySurface.h"

namespace qv::component {
namespace {

using testing::Int32, testing::Bool, testing::Text;
using namespace surface;

constexpr std::uint8_t kUntouched = 0x5A;

TEST(HostSurface, DrawsExactlyTheRasterSurfacesPixelsInEveryLayout) {
    constexpr std::int32_t kWidth = 40, kHeight = 30;
    struct Case {
        std::int32_t bits;
        std::int32_t stride;
        const char* why;
    };
    const Case cases[] = {{24, kWidth * 3, "packed rows"},
                          {24, kWidth * 3 + 5, "padded rows"},
                          {32, kWidth * 4, "a fourth byte"},
                          {32, -(kWidth * 4 + 8), "bottom-up, padded"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        // The host's rows hold grey pixels its surface has not seen: one under the text, which
        // must blend with it, one just below the first bars, which must stay.
        RasterSurface raster(kWidth, kHeight);
        raster.SetPixel(15, 20, 0x808080);
        raster.SetPixel(21, 8, 0x808080);
        HostPixels pixels{nullptr, kWidth, kHeight, c.stride, c.bits};
        std::vector<std::uint8_t> memory(pixels.Span(), kUntouched);
        pixels.block = memory.data();
        CopyToHost(raster, {0, 0, kWidth, kHeight}, pixels);
        HostMemorySurface host(pixels);
        // Wide and slanted pens, bars, lines past the edges, text over mixed pixels and
        // beyond its rectangle: everything the surfaces share.
        for (DrawingSurface* s : std::initializer_list<DrawingSurface*>{&host, &raster}) {
            s->FillRect({-5, 3, 12, 50}, 0x336699);
            s->DrawColumns(20, 24, 1, 8);
            s->SelectPen({0x00AA00, 3});
            s->MoveTo(2, 2);
            s->LineTo(35, 27);
            s->DrawColumns(5, 8, 22, 28);
            s->SelectPen({kBlack, 1});
            s->MoveTo(30, -10);
            s->LineTo(30, 100);
            s->SetBkMode(kTransparent);
            s->DrawText("Ab1", {0, 10, 40, 30}, kCaptionFormat);
            s->SetBkMode(kOpaque);
            s->DrawText("Wide text", {25, 0, 30, 12}, kNoClip);
        }
        std::vector<std::uint8_t> expected(memory.size(), kUntouched);
        pixels.block = expected.data();
        CopyToHost(raster, {0, 0, kWidth, kHeight}, pixels);
        EXPECT_EQ(memory, expected);
    }
}

// A released handle names no surface: Draw refuses it, and no later surface gets it again.
TEST(HostSurface, AReleasedHandleNamesNoSurface) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    control.SetEan13();
    std::vector<std::uint8_t> memory(320 * 120 * 3, 0xFF);
    std::int32_t handle = -1;
    ASSERT_EQ(library.createSurface(memory.data(), 320, 120, 320 * 3, 24, &handle), QV_S_OK);
    std::int32_t hdc = handle;
    EXPECT_EQ(control.Draw(hdc), 0);
    EXPECT_EQ(hdc, handle);
    EXPECT_TRUE(std::ranges::count(memory, 0) > 0);  // the bars are in the host's memory

    EXPECT_EQ(library.releaseSurface(handle), QV_S_OK);
    EXPECT_EQ(library.releaseSurface(handle), QV_E_INVALIDARG);
    std::int32_t width = 0, height = 0;
    EXPECT_EQ(library.surfaceSize(handle, &width, &height), QV_E_INVALIDARG);
    QvCallError error{};
    EXPECT_EQ(control.Draw(hdc, &error), -1);
    EXPECT_EQ(error.status, QV_E_INVALIDARG);
    EXPECT_STREQ(error.description, "invalid value: the device context names no surface");
    std::int32_t next = -1;
    ASSERT_EQ(library.createSurface(memory.data(), 320, 120, 320 * 3, 24, &next), QV_S_OK);
    EXPECT_GT(next, handle);
    EXPECT_EQ(library.releaseSurface(next), QV_S_OK);

    struct Case {
        void* pixels;
        std::int32_t width, stride, bits;
    };
    const Case refused[] = {
        {nullptr, 4, 12, 24}, {memory.data(), 4, 11, 24}, {memory.data(), 4, 16, 16}};
    for (const Case& c : refused) {
        EXPECT_EQ(library.createSurface(c.pixels, c.width, 4, c.stride, c.bits, &next),
                  QV_E_INVALIDARG);
        EXPECT_EQ(next, -1);
    }
}

// After a Draw on the own surface the host copies Pic1 into its memory: the pixels of the same
// drawing on a surface of its own, and nothing at all into a buffer too small.
TEST(HostSurface, Pic1IsCopiedOnlyIntoABufferLargeEnough) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    control.SetEan13();
    std::int32_t pic1 = -1;
    ASSERT_EQ(control.Draw(pic1), 0);
    std::int32_t width = 0, height = 0;
    ASSERT_EQ(library.surfaceSize(pic1, &width, &height), QV_S_OK);
    EXPECT_EQ(width, 295);  // 95 modules of 3 pixels, two 5-pixel margins
    EXPECT_EQ(height, 100);

    const std::int32_t stride = width * 4;
    const std::size_t bytes = static_cast<std::size_t>(stride) * height;
    std::vector<std::uint8_t> picture(bytes, kUntouched);
    EXPECT_EQ(library.copyPixels(pic1, picture.data(), -stride, 32, bytes - 1),
              QV_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::ranges::count(picture, kUntouched), static_cast<std::ptrdiff_t>(bytes));
    ASSERT_EQ(library.copyPixels(pic1, picture.data(), -stride, 32, bytes), QV_S_OK);

    std::vector<std::uint8_t> own(static_cast<std::size_t>(width) * 3 * height, 0);
    std::int32_t handle = -1;
    ASSERT_EQ(library.createSurface(own.data(), width, height, width * 3, 24, &handle), QV_S_OK);
    std::int32_t hdc = handle;
    EXPECT_EQ(control.Draw(hdc), 0);  // at 0, 0: Draw on Pic1 put the position there
    EXPECT_EQ(library.copyPixels(handle, picture.data(), -stride, 32, bytes), QV_E_INVALIDARG);
    EXPECT_EQ(library.releaseSurface(handle), QV_S_OK);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* bgrx = picture.data() + (height - 1 - y) * stride + x * 4;
            const std::uint8_t* bgr = own.data() + (y * width + x) * 3;
            ASSERT_TRUE(std::equal(bgr, bgr + 3, bgrx) && bgrx[3] == kUntouched) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace qv::component
