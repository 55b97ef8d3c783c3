#include "symbology/DrawModuleString.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <span>
#include <vector>

#include "host/CheckedInt.h"
#include "surface/Windows1252.h"
#include "symbology/Encoding.h"

namespace qv::symbology {

using host::CheckedInt32;
using host::FailedCall;
using host::FailureReason;
using host::Int16;

namespace {

constexpr double kCaptionPadding = 6.0;

// Halves go to the even neighbour; std::nearbyint does exactly that in the default mode.
std::int64_t RoundHalfEven(double value) {
    // Every caller narrows the result to 16 or 32 bits, so anything beyond 2^62 overflows
    // anyway; refusing it here keeps the conversion to 64 bits defined.
    constexpr double kLimit = 4611686018427387904.0;  // 2^62
    if (!std::isfinite(value) || value >= kLimit || value <= -kLimit) {
        throw FailedCall(FailureReason::Overflow, "rounding a value beyond any coordinate");
    }
    return static_cast<std::int64_t>(std::nearbyint(value));
}

// Keeps the pen that was current and puts it back when drawing ends, also by an exception.
class PenSelection {
  public:
    PenSelection(surface::DrawingSurface& surface, const surface::Pen& pen)
        : surface_(surface), previous_(surface.SelectPen(pen)) {}
    ~PenSelection() { surface_.SelectPen(previous_); }
    PenSelection(const PenSelection&) = delete;
    PenSelection& operator=(const PenSelection&) = delete;

  private:
    surface::DrawingSurface& surface_;
    surface::Pen previous_;
};

std::shared_ptr<surface::DrawingSurface> SurfaceFor(surface::SurfaceHandle hdc) {
    std::shared_ptr<surface::DrawingSurface> surface = surface::SurfaceHandles::Find(hdc);
    if (!surface) {
        // Drawing nothing and reporting success would hide the caller's mistake.
        throw FailedCall(FailureReason::InvalidValue, "the device context names no surface");
    }
    return surface;
}

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

// The bars of a module string whose every column lies within 32 bits, as runs of columns.
// Runs are found 64 modules at a time from the bits where a bar starts
// or ends: bars and spaces of one or two modules alternate too irregularly for a branch per
// module.
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

// The bars of a module string whose every column lies within 32 bits, handed to the
// surface in one call; their runs are those kept from the last drawing when it placed the
// same modules in the same columns.
void DrawBars(PipelineHost& host, surface::DrawingSurface& surface, std::string_view modules,
              std::int32_t x, std::int32_t moduleWidth, std::int32_t top, std::int32_t bottom) {
    KeptBarRuns* const kept = host.BarRunsKeeper();
    if (!kept) {
        surface.DrawColumnRuns(BarRuns(modules, x, moduleWidth), top, bottom);
        return;
    }
    if (!kept->runs || kept->x != x || kept->moduleWidth != moduleWidth ||
        kept->modules != modules) {
        kept->runs.reset();  // nothing half-updated is kept if an allocation fails
        auto runs = std::make_shared<const std::vector<surface::ColumnRun>>(
            BarRuns(modules, x, moduleWidth));
        kept->modules = modules;
        kept->x = x;
        kept->moduleWidth = moduleWidth;
        kept->runs = std::move(runs);
    }
    const std::shared_ptr<const std::vector<surface::ColumnRun>> runs = kept->runs;
    surface.DrawColumnRuns(*runs, top, bottom);
}

// The bars of a module string reaching past 32 bits: module by module, column by column,
// so that the overflow is raised exactly where the coordinates leave 32 bits.
void DrawBarsNear32BitLimit(surface::DrawingSurface& surface, std::string_view modules,
                            std::int32_t x, Int16 mw, std::int32_t top, std::int32_t bottom) {
    const auto drawModule = [&](char module) {
        if (module == '1') {
            for (Int16 k(0); k < mw; ++k) {
                const std::int32_t column = CheckedInt32(std::int64_t{x} + k.value());
                surface.MoveTo(column, top);
                surface.LineTo(column, bottom);
            }
        }
        x = CheckedInt32(std::int64_t{x} + mw.value());
    };
    for (std::size_t i = 0; i < modules.size();) {
        if (modules[i] != '1') {
            drawModule(modules[i++]);
            continue;
        }
        // A bar: its dark modules' columns in one call when they stay within 32 bits.
        std::size_t end = i;
        while (end < modules.size() && modules[end] == '1') {
            ++end;
        }
        const std::int64_t right =
            std::int64_t{x} + static_cast<std::int64_t>(end - i) * mw.value();
        if (right > INT32_MAX) {
            for (; i < end; ++i) {
                drawModule(modules[i]);
            }
            continue;
        }
        surface.DrawColumns(x, static_cast<std::int32_t>(right), top, bottom);
        x = static_cast<std::int32_t>(right);
        i = end;
    }
}

void DrawCaption(surface::DrawingSurface& surface, const PipelineHost& host,
                 std::u16string_view caption, const surface::Rect& frame, bool backgroundWhite,
                 surface::Colour brush) {
    const surface::TextExtent extent = host.MeasureText(caption);
    const Int16 tw = Int16::From(RoundHalfEven(double{extent.width} + kCaptionPadding));
    const Int16 th = Int16::From(RoundHalfEven(extent.height));
    surface::Rect box;
    box.left = CheckedInt32(
        RoundHalfEven((static_cast<double>(frame.left) + frame.right - tw.value()) / 2.0));
    box.right = CheckedInt32(std::int64_t{box.left} + tw.value());
    box.bottom =
        backgroundWhite ? CheckedInt32(std::int64_t{frame.bottom} - kMargin) : frame.bottom;
    box.top = CheckedInt32(std::int64_t{box.bottom} - th.value());

    const Int16 previousMode = Int16::From(surface.SetBkMode(surface::kTransparent));
    surface.FillRect(box, brush);
    surface.DrawText(surface::EncodeWindows1252(caption), box, surface::kCaptionFormat);
    surface.SetBkMode(previousMode.value());
}

}  // namespace

std::int16_t DrawModuleString(PipelineHost& host, std::string_view modules,
                              std::u16string_view caption, surface::SurfaceHandle& hdc) {
    const BarcodeLayout layout = host.Layout();
    const Int16 n = Int16::From(static_cast<std::int64_t>(modules.size()));
    if (n.value() == 0) {
        throw FailedCall(FailureReason::InvalidValue, "empty module string");
    }

    Int16 mw(1);
    std::int32_t h = layout.barHeight;
    if (layout.barWidthSource) {
        if (h == 0) {
            h = kDefaultBarHeight;
        }
    } else {
        const std::int64_t available =
            layout.backgroundWhite ? std::int64_t{layout.barWidth} - 2 * kMargin : layout.barWidth;
        mw = Int16::From(static_cast<std::int64_t>(std::floor(double(available) / n.value())));
        if (mw.value() < 1) {
            return kNotEnoughWidth;
        }
    }
    const Int16 total = n * mw;
    const bool own = host.DrawsOnOwnSurface();
    std::int32_t x = layout.positionX;
    std::int32_t y = layout.positionY;

    std::shared_ptr<surface::DrawingSurface> surface;
    surface::Rect frame;
    surface::Colour brush = surface::kWhite;
    if (layout.backgroundWhite) {
        h = CheckedInt32(std::int64_t{h} - 2 * kMargin);
        if (own) {
            host.SetOwnSurfaceWidth(CheckedInt32(std::int64_t{total.value()} + 2 * kMargin));
            host.SetOwnSurfaceHeight(CheckedInt32(std::int64_t{h} + 2 * kMargin));
            host.ProcessPendingEvents();
            hdc = host.OwnSurfaceHandle();
        }
        surface = SurfaceFor(hdc);
        frame = {x, y, CheckedInt32(std::int64_t{x} + total.value() + 2 * kMargin),
                 CheckedInt32(std::int64_t{y} + h + 2 * kMargin)};
        surface->FillRect(frame, surface::kWhite);
        x = CheckedInt32(std::int64_t{x} + kMargin);
        y = CheckedInt32(std::int64_t{y} + kMargin);
    } else {
        if (own) {
            host.SetOwnSurfaceWidth(total.value());
            host.SetOwnSurfaceHeight(h);
            host.ProcessPendingEvents();
            hdc = host.OwnSurfaceHandle();
        }
        surface = SurfaceFor(hdc);
        frame = {x, y, CheckedInt32(std::int64_t{x} + total.value()),
                 CheckedInt32(std::int64_t{y} + h)};
        brush = surface->GetBkColor();
    }

    if (layout.barWidthSource) {
        host.StoreBarWidth(n.value());
    }

    {
        const PenSelection pen(*surface, surface::Pen{surface::kBlack, 1});
        const std::int32_t barBottom = CheckedInt32(std::int64_t{y} + h);
        if (std::int64_t{x} + total.value() <= INT32_MAX) {
            DrawBars(host, *surface, modules, x, mw.value(), y, barBottom);
        } else {
            DrawBarsNear32BitLimit(*surface, modules, x, mw, y, barBottom);
        }
        if (layout.showValue) {
            DrawCaption(*surface, host, caption, frame, layout.backgroundWhite, brush);
        }
    }

    if (own) {
        host.KeepOwnSurfaceDrawing();
    }
    return kDrawn;
}

}  // namespace qv::symbology
