// SPDX-License-Identifier: MIT
#include <qvbarcode/control/SamplePicture.h>

#include <algorithm>
#include <cmath>

#include <qvbarcode/symbology/Encoders.h>

namespace qv::control {

using surface::RasterSurface;

namespace {

constexpr std::int32_t kWidth = 144;
constexpr std::int32_t kHeight = 75;
constexpr std::int32_t kBarTop = 4;

// Antialiased text would add greys; the sample keeps to black and white. Row by row: every
// control on a font of its own pays for it.
void Threshold(RasterSurface& picture) {
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        std::uint8_t* row = picture.WritableRowData(y);
        for (std::uint8_t* pixel = row; pixel != row + picture.RowBytes(); pixel += 3) {
            const int grey = (pixel[0] + pixel[1] + pixel[2]) / 3;
            std::fill_n(pixel, 3, grey < 128 ? 0 : 0xFF);
        }
    }
}

std::shared_ptr<const RasterSurface> DrawSample(const std::shared_ptr<const surface::Font>& font) {
    auto picture = std::make_shared<RasterSurface>(kWidth, kHeight, surface::kWhite);
    picture->SetFont(font);
    const std::u16string caption = u"QVBARCODE";
    // 142 modules: one pixel each leaves a one-pixel margin on both sides.
    const symbology::Encoding sample = symbology::EncodeCode39(caption);
    const std::int32_t left = (kWidth - static_cast<std::int32_t>(sample.modules.size())) / 2;
    // A font may measure anything; the caption can take at most the whole sample.
    const float measured = font->Measure(caption).height + 0.5f;
    const std::int32_t textHeight =
        std::isfinite(measured)
            ? static_cast<std::int32_t>(std::clamp(measured, 0.0f, static_cast<float>(kHeight)))
            : 0;
    const std::int32_t barBottom = kHeight - textHeight - 2;
    for (std::size_t i = 0; i < sample.modules.size(); ++i) {
        if (sample.modules[i] == '1') {
            const auto x = left + static_cast<std::int32_t>(i);
            picture->FillRect({x, kBarTop, x + 1, barBottom}, surface::kBlack);
        }
    }
    picture->SetBkMode(surface::kTransparent);
    picture->DrawText("QVBARCODE", {0, barBottom, kWidth, kHeight - 1}, surface::kCaptionFormat);
    Threshold(*picture);
    return picture;
}

}  // namespace

std::shared_ptr<const RasterSurface> SamplePicture(
    const std::shared_ptr<const surface::Font>& font) {
    // Controls on the control's own font all show the same sample: draw it once.
    if (font == surface::ControlFont()) {
        static const std::shared_ptr<const RasterSurface> sample = DrawSample(font);
        return sample;
    }
    return DrawSample(font);
}

}  // namespace qv::control
