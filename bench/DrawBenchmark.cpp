// SPDX-License-Identifier: MIT
// One drawing in the process, ours against the peer's, on the same symbol: a captioned and
// an uncaptioned EAN-13 and a captioned Code 39 of 20 characters. Each side keeps its
// object across iterations, as a program drawing many labels would.
#include <benchmark/benchmark.h>

#include "BenchSymbols.h"

namespace qv::bench {
namespace {

void ReportSize(benchmark::State& state, std::int64_t width, std::int64_t height) {
    state.counters["width"] = static_cast<double>(width);
    state.counters["height"] = static_cast<double>(height);
    state.SetItemsProcessed(state.iterations());
}

void OursDraw(benchmark::State& state, const ControlSettings& settings) {
    const auto control = MakeControl(settings);
    for (auto _ : state) {
        benchmark::DoNotOptimize(control->Draw());
        // Every row is readable as drawn, as the peer's buffer is: reading writes nothing,
        // so no work is left pending behind the figure.
        benchmark::ClobberMemory();
    }
    ReportSize(state, control->Pic1().Width(), control->Pic1().Height());
}

void PeerDraw(benchmark::State& state, int type, const char* data, float pixelsPerModule,
              bool text) {
    // Our bars are BarHeight less the two 5-pixel margins.
    const PeerSymbol symbol = MakePeerSymbol(type, pixelsPerModule, 70.0f, text);
    PeerEncode(symbol.get(), data);
    for (auto _ : state) {
        PeerEncode(symbol.get(), data);
        benchmark::DoNotOptimize(symbol->bitmap);
        benchmark::ClobberMemory();
    }
    ReportSize(state, symbol->bitmap_width, symbol->bitmap_height);
}

ControlSettings Ean13(bool caption) {
    ControlSettings s;
    s.showValue = caption;
    return s;
}

ControlSettings Code39() {
    ControlSettings s;
    s.type = control::QvTypeCode39;
    s.text = kCode39Text;
    s.checkDigit = false;
    return s;
}

// EAN-13 has 95 modules: floor((300 - 10) / 95) = 3 pixels each; Code 39 of 20 characters
// has 285 modules: 1 pixel each.
BENCHMARK_CAPTURE(OursDraw, Ean13Captioned, Ean13(true));
BENCHMARK_CAPTURE(PeerDraw, Ean13Captioned, BARCODE_EANX, kEan13Digits, 3.0f, true);
BENCHMARK_CAPTURE(OursDraw, Ean13Plain, Ean13(false));
BENCHMARK_CAPTURE(PeerDraw, Ean13Plain, BARCODE_EANX, kEan13Digits, 3.0f, false);
BENCHMARK_CAPTURE(OursDraw, Code39Captioned, Code39());
BENCHMARK_CAPTURE(PeerDraw, Code39Captioned, BARCODE_CODE39, kCode39Text, 1.0f, true);

}  // namespace
}  // namespace qv::bench

BENCHMARK_MAIN();
