// SPDX-License-Identifier: MIT
#pragma once

// The symbols every benchmark draws, set up once for our control and once for the peer, so
// that both sides do the same work: same data, comparable module width, height and text.
#include <zint.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include <qvbarcode/control/QvBarCode.h>

namespace qv::bench {

inline constexpr char kEan13Digits[] = "400638133393";         // the check digit 1 is computed
inline constexpr char kCode39Text[] = "QVBARCODE BENCH-2024";  // 20 characters
static_assert(sizeof kCode39Text - 1 == 20);

struct ControlSettings {
    std::int32_t type = control::QvTypeEan13;
    std::string text = kEan13Digits;
    std::int32_t barWidth = 300;
    std::int32_t barHeight = 80;
    bool barWidthSource = false;
    bool backgroundWhite = true;
    bool showValue = true;
    bool checkDigit = true;
};

inline std::unique_ptr<control::QvBarCode> MakeControl(const ControlSettings& s) {
    auto control = std::make_unique<control::QvBarCode>();
    control->SetText(std::u16string(s.text.begin(), s.text.end()));
    control->SetBarCodeType(s.type);
    control->SetBarWidth(s.barWidth);
    control->SetBarHeight(s.barHeight);
    control->SetBarWidthSource(s.barWidthSource ? control::kTrue : control::kFalse);
    control->SetBackgroundWhite(s.backgroundWhite ? control::kTrue : control::kFalse);
    control->SetShowValue(s.showValue ? control::kTrue : control::kFalse);
    control->SetCalculateCheckDigit(s.checkDigit ? control::kTrue : control::kFalse);
    if (const std::int16_t code = control->Draw().AsInt16(); code != 0) {
        throw std::runtime_error("the benchmark symbol does not draw: code " +
                                 std::to_string(code));
    }
    return control;
}

// The peer's symbol struct, freed by RAII.
struct PeerSymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using PeerSymbol = std::unique_ptr<zint_symbol, PeerSymbolDeleter>;

// pixelsPerModule and barPixels are in output pixels: the peer's raster output draws
// 2 * scale pixels per module and its height is given in modules.
inline PeerSymbol MakePeerSymbol(int type, float pixelsPerModule, float barPixels, bool text) {
    PeerSymbol symbol(ZBarcode_Create());
    if (!symbol) {
        throw std::runtime_error("ZBarcode_Create failed");
    }
    symbol->symbology = type;
    symbol->scale = pixelsPerModule / 2.0f;
    symbol->height = barPixels / pixelsPerModule;
    symbol->show_hrt = text ? 1 : 0;
    symbol->output_options = 0;
    return symbol;
}

inline void PeerEncode(zint_symbol* symbol, const char* data) {
    ZBarcode_Clear(symbol);
    const int error =
        ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char*>(data),
                                   static_cast<int>(std::strlen(data)), 0);
    if (error >= ZINT_ERROR) {
        throw std::runtime_error(std::string("peer encoding failed: ") + symbol->errtxt);
    }
}

}  // namespace qv::bench
