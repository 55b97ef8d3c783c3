// SPDX-License-Identifier: MIT
#pragma once

#include <ZXing/ReadBarcode.h>

#include <string>
#include <vector>

#include <qvbarcode/surface/RasterSurface.h>

namespace qv::cli::test {

// The text of the one-dimensional barcode in a picture, or "not read".
inline std::string Decode(const surface::RasterSurface& picture) {
    const std::vector<std::uint8_t> pixels = picture.ContiguousPixels();
    const ZXing::ImageView image(pixels.data(), picture.width(), picture.height(),
                                 ZXing::ImageFormat::RGB, static_cast<int>(picture.RowBytes()));
    const ZXing::Result result = ZXing::ReadBarcode(
        image, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::LinearCodes));
    return result.isValid() ? result.text() : "not read";
}

}  // namespace qv::cli::test
