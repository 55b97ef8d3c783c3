// SPDX-License-Identifier: MIT
// Surfaces over a host's memory, and Pic1's picture read back into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include <qvbarcode/surface/HostMemorySurface.h>
#include "support/LoadedComponent.h"

namespace qv::component {
namespace {

using namespace surface;

constexpr std::uint8_t kUntouched = 0x5A;

TEST(HostSurface, DrawsExactlyTheRasterSurfacesPixelsInEveryLayout) {
    constexpr std::int32_t kWidth = 40, kHeight = 30;
    // Bits a pixel and stride: packed rows, padded rows, a fourth byte, bottom-up and padded.
    const std::pair<std::int32_t, std::int32_t> layouts[] = {
        {24, kWidth * 3}, {24, kWidth * 3 + 5}, {32, kWidth * 4}, {32, -(kWidth * 4 + 8)}};
    for (const auto& [bits, stride] : layouts) {
        SCOPED_TRACE(stride);
        // The host's rows hold grey pixels its surface has not seen: one under the text, which
        // must blend with it, one just below the first bars, which must stay.
        RasterSurface raster(kWidth, kHeight);
        raster.SetPixel(15, 20, 0x808080);
        raster.SetPixel(21, 8, 0x808080);
        HostPixels pixels{nullptr, kWidth, kHeight, stride, bits};
        std::vector<std::uint8_t> memory(pixels.Span(), kUntouched);
        pixels.block = memory.data();
        CopyToHost(raster, {0, 0, kWidth, kHeight}, pixels);
        HostMemorySurface host(pixels);
        // Wide and slanted pens, bars, lines past the edges, text over mixed pixels and
        // wider than its rectangle: everything the surfaces share.
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
            s->DrawText("Wide text", {25, 0, 30, 12}, kCaptionFormat);
        }
        // The layout the header gives, worked out apart from the library's own: blue, green,
        // red, rows bottom-up for a negative stride, a fourth byte that stays the host's.
        std::vector<std::uint8_t> expected(memory.size(), kUntouched);
        for (std::int32_t i = 0; i < kWidth * kHeight; ++i) {
            const std::int32_t x = i % kWidth, y = i / kWidth,
                               row = stride < 0 ? kHeight - 1 - y : y;
            const Colour c = raster.PixelAt(x, y);
            std::uint8_t* p = &expected[row * std::abs(stride) + x * bits / 8];
            std::tie(p[0], p[1], p[2]) = std::tuple(BlueOf(c), GreenOf(c), RedOf(c));
        }
        EXPECT_EQ(memory, expected);
    }
}

// Pic1's picture goes only into a buffer large enough, and only Pic1's: a surface over the
// host's own memory has none. A released handle names no surface: Draw refuses it, and no
// later surface gets it again. The host examples check Pic1's size and pixels.
TEST(HostSurface, HandlesNameOnlyLiveSurfacesAndPic1IsCopiedOnlyWhereItFits) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    control.SetEan13();
    std::int32_t pic1 = -1;
    ASSERT_EQ(control.Draw(pic1), 0);
    std::int32_t width = 0, height = 0;
    ASSERT_EQ(library.surfaceSize(pic1, &width, &height), QV_S_OK);
    const std::int32_t stride = width * 4;
    const std::size_t bytes = static_cast<std::size_t>(stride) * height;
    std::vector<std::uint8_t> memory(bytes, kUntouched);
    EXPECT_EQ(library.copyPixels(pic1, memory.data(), -stride, 32, bytes - 1),
              QV_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::ranges::count(memory, kUntouched), static_cast<std::ptrdiff_t>(bytes));
    EXPECT_EQ(library.copyPixels(pic1, memory.data(), -stride, 32, bytes), QV_S_OK);
    // One grey byte a pixel, here bottom-up too: each the weighted mean of the pixel's colours.
    std::vector<std::uint8_t> grey(static_cast<std::size_t>(width) * height + 1, kUntouched);
    EXPECT_EQ(library.copyPixels(pic1, grey.data(), -width, 8, grey.size() - 2),
              QV_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(library.copyPixels(pic1, grey.data(), width - 1, 8, grey.size()), QV_E_INVALIDARG);
    ASSERT_EQ(library.copyPixels(pic1, grey.data(), -width, 8, grey.size()), QV_S_OK);
    for (std::size_t i = 0; i + 1 < grey.size(); ++i) {
        const std::uint8_t* bgrx = &memory[i * 4];
        ASSERT_EQ(grey[i], (bgrx[2] * 299 + bgrx[1] * 587 + bgrx[0] * 114 + 500) / 1000) << i;
    }
    EXPECT_EQ(grey.back(), kUntouched);

    std::int32_t handle = -1;
    ASSERT_EQ(library.createSurface(memory.data(), width, height, stride, 32, &handle), QV_S_OK);
    EXPECT_EQ(library.copyPixels(handle, memory.data(), stride, 32, bytes), QV_E_INVALIDARG);
    std::int32_t hdc = handle;
    EXPECT_EQ((std::tuple{control.Draw(hdc), hdc}), std::tuple(0, handle));
    EXPECT_EQ((std::tuple{library.releaseSurface(handle), library.releaseSurface(handle),
                          library.surfaceSize(handle, &width, &height)}),
              std::tuple(QV_S_OK, QV_E_INVALIDARG, QV_E_INVALIDARG));
    QvCallError error{};
    // The handle is left as given by the failed call.
    EXPECT_EQ((std::tuple{control.Draw(hdc, &error), error.status, error.reason, hdc}),
              std::tuple(-1, QV_E_INVALIDARG, QV_REASON_INVALID_VALUE, handle));
    EXPECT_STREQ(error.description, "invalid value: the device context names no surface");
    std::int32_t next = -1;
    ASSERT_EQ(library.createSurface(memory.data(), width, height, stride, 32, &next), QV_S_OK);
    EXPECT_GT(next, handle);
    EXPECT_EQ(library.releaseSurface(next), QV_S_OK);

    // Rows that cannot be the host's: no pixels (a null pointer), a row shorter than 4 pixels
    // of 3 bytes, 16 bits a pixel, a stride whose size overflows (drawing went 98 GiB away),
    // rows past the end of the address space, more pixels than a raster surface has. No handle.
    void* const top = reinterpret_cast<void*>(~std::uintptr_t{0} - 4095);
    void* const ours = memory.data();
    const std::tuple<void*, std::int32_t, std::int32_t, std::int32_t, std::int32_t> refused[] = {
        {nullptr, 4, 4, 12, 24},         {ours, 4, 4, 11, 24},  {ours, 4, 4, 16, 16},
        {ours, 4, 50, INT32_MIN, 32},    {top, 4, 4, 4096, 32}, {top, 1024, 4, -4096, 32},
        {ours, 8193, 8192, 8193 * 3, 24}};
    for (const auto& [pixels, w, h, stride, bits] : refused) {
        // Braces evaluate left to right: the status, then the handle the call wrote.
        EXPECT_EQ((std::tuple{library.createSurface(pixels, w, h, stride, bits, &next), next}),
                  std::tuple(pixels ? QV_E_INVALIDARG : QV_E_POINTER, -1))
            << stride;
    }
    for (const std::int32_t bits : {32, 8}) {
        EXPECT_EQ(library.copyPixels(pic1, memory.data(), INT32_MIN, bits, SIZE_MAX),
                  QV_E_INVALIDARG);
    }
    EXPECT_EQ(library.copyPixels(pic1, nullptr, 0, 32, SIZE_MAX), QV_E_POINTER);
}

}  // namespace
}  // namespace qv::component
