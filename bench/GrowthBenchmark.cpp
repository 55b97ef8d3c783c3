// SPDX-License-Identifier: MIT
// How the cost of one Draw grows: with the number of modules (Code 39 at one pixel per
// module) and with the module width (EAN-13). Both series should cost a constant per pixel.
#include <benchmark/benchmark.h>

#include "BenchSymbols.h"

namespace qv::bench {
namespace {

constexpr char kCode39Alphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

void DrawAndReport(benchmark::State& state, const ControlSettings& settings) {
    const auto control = MakeControl(settings);
    for (auto _ : state) {
        benchmark::DoNotOptimize(control->Draw());
        benchmark::ClobberMemory();
    }
    const auto width = control->Pic1().Width();
    const auto height = control->Pic1().Height();
    state.counters["width"] = static_cast<double>(width);
    state.counters["height"] = static_cast<double>(height);
    state.counters["pixels"] = static_cast<double>(std::int64_t{width} * height);
}

void OursCode39Modules(benchmark::State& state) {
    ControlSettings s;
    s.type = control::QvTypeCode39;
    s.text.clear();
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        s.text += kCode39Alphabet[i % (sizeof kCode39Alphabet - 1)];
    }
    s.barWidthSource = true;
    s.barHeight = 60;
    s.showValue = false;
    s.checkDigit = false;
    DrawAndReport(state, s);
    state.counters["modules"] = static_cast<double>(13 * state.range(0) + 25);
}

void OursEan13ModuleWidth(benchmark::State& state) {
    ControlSettings s;
    s.barWidth = static_cast<std::int32_t>(95 * state.range(0) + 10);
    s.showValue = false;
    DrawAndReport(state, s);
    state.counters["module_width"] = static_cast<double>(state.range(0));
}

BENCHMARK(OursCode39Modules)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Arg(2500);
BENCHMARK(OursEan13ModuleWidth)->Arg(1)->Arg(4)->Arg(16)->Arg(64);

}  // namespace
}  // namespace qv::bench

BENCHMARK_MAIN();
