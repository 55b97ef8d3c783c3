// SPDX-License-Identifier: MIT
#include <qvbarcode/render/BarRuns.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace qv::render {

namespace {

// One bit per module of 8 modules, bit k set when module k is a bar ('1'): the bytes that
// equal '1' are found as the zero bytes of word ^ "11111111", and their top bits gathered.
std::uint64_t BarBitsOf8(const char* modules) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
    std::uint64_t word = 0;
    std::memcpy(&word, modules, 8);
    const std::uint64_t x = word ^ 0x3131313131313131;
    const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
    return ((zero >> 7) * 0x0102040810204080) >> 56;
}

// Bit k set when module first[k] is a bar, for count (at most 64) modules.
std::uint64_t BarBits(const char* first, std::size_t count) {
    std::uint64_t bits = 0;
    std::size_t k = 0;
    for (; k + 8 <= count; k += 8) {
        bits |= BarBitsOf8(first + k) << k;
    }
    for (; k < count; ++k) {
        bits |= std::uint64_t{first[k] == '1'} << k;
    }
    return bits;
}

}  // namespace

// Runs are found 64 modules at a time from the bits where a bar starts or ends: bars and
// spaces of one or two modules alternate too irregularly for a branch per module.
std::vector<surface::ColumnRun> BarRuns(std::string_view modules, std::int32_t x,
                                        std::int32_t moduleWidth) {
    const auto column = [&](std::size_t module) {
        return static_cast<std::int32_t>(std::int64_t{x} +
                                         static_cast<std::int64_t>(module) * moduleWidth);
    };
    // Starts and ends alternate, so edge e is the left (even e) or right (odd e) of run e / 2.
    std::vector<surface::ColumnRun> runs(modules.size() / 2 + 1);
    std::size_t edge = 0;
    std::uint64_t previous = 0;  // whether the module before the chunk is a bar
    for (std::size_t base = 0; base < modules.size(); base += 64) {
        const std::size_t count = std::min<std::size_t>(64, modules.size() - base);
        const std::uint64_t bars = BarBits(modules.data() + base, count);
        const std::uint64_t before = (bars << 1) | previous;
        const std::uint64_t inChunk =
            count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
        for (std::uint64_t edges = (bars ^ before) & inChunk; edges != 0; edges &= edges - 1) {
            surface::ColumnRun& run = runs[edge / 2];
            (edge % 2 ? run.right : run.left) = column(base + std::countr_zero(edges));
            ++edge;
        }
        previous = (bars >> (count - 1)) & 1;
    }
    if (previous) {
        runs[edge / 2].right = column(modules.size());
        ++edge;
    }
    runs.resize(edge / 2);
    return runs;
}

std::shared_ptr<const std::vector<surface::ColumnRun>> RunsOf(std::string_view modules,
                                                              std::int32_t x,
                                                              std::int32_t moduleWidth,
                                                              KeptBarRuns& kept) {
    if (!kept.runs || kept.x != x || kept.moduleWidth != moduleWidth || kept.modules != modules) {
        kept.runs.reset();  // nothing half-updated is kept if an allocation fails
        auto runs = std::make_shared<const std::vector<surface::ColumnRun>>(
            BarRuns(modules, x, moduleWidth));
        kept.modules = modules;
        kept.x = x;
        kept.moduleWidth = moduleWidth;
        kept.runs = std::move(runs);
    }
    return kept.runs;
}

}  // namespace qv::render
