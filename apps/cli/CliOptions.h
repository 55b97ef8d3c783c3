#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "control/QvBarCode.h"

namespace qv::cli {

using control::AutomationBool;
using control::kFalse;
using control::kTrue;

// The control's properties as the command line (and, in a batch, a CSV record) gives them.
// Unset values leave the control at its own starting value.
struct BarcodeSettings {
    std::optional<std::string> text;  // UTF-8
    std::optional<std::int32_t> barCodeType;
    std::int32_t barWidth = 0;
    std::int32_t barHeight = 0;
    AutomationBool barWidthSource = kFalse;
    AutomationBool backgroundWhite = kFalse;
    AutomationBool showValue = kFalse;
    AutomationBool calculateCheckDigit = kFalse;
    friend bool operator==(const BarcodeSettings&, const BarcodeSettings&) = default;
};

enum class Command { Render, Batch, Help, Version, TypeLibrary };
enum class OutputFormat { Png, Svg, Pbm, Pgm };

// Drawing onto a copy of an existing PNG at a position, instead of on the own surface.
struct OntoImage {
    std::string path;
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const OntoImage&, const OntoImage&) = default;
};

struct Options {
    Command command = Command::Render;
    BarcodeSettings settings;
    std::string output;  // a file, "-" for standard output, or a batch pattern
    OutputFormat format = OutputFormat::Png;
    std::optional<OntoImage> onto;
    std::string batchInput;  // a file or "-" for standard input
    friend bool operator==(const Options&, const Options&) = default;
};

}  // namespace qv::cli
