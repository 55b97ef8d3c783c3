// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace qv::component {

// The control's toolbox image: what a form designer shows for QvBarCode in its palette.
inline constexpr int kToolboxBitmapWidth = 16;
inline constexpr int kToolboxBitmapHeight = 15;
inline constexpr int kToolboxBitmapBitsPerPixel = 24;
inline constexpr int kToolboxBitmapResource = 30000;

// The image as a complete device-independent bitmap file (.bmp): 24 bits per pixel, rows
// bottom-up, each padded to four bytes.
std::string ToolboxBitmapFile();

}  // namespace qv::component
