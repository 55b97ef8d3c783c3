// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/DrawingSurface.h>

namespace qv::render {

// The bars of a module string as runs of columns: module i covers columns x + i * moduleWidth
// onwards, moduleWidth of them, and adjacent bars merge. Every column must lie within 32 bits.
QV_EXPORT std::vector<surface::ColumnRun> BarRuns(std::string_view modules, std::int32_t x,
                                                  std::int32_t moduleWidth);

// The runs of the last bars drawn for one control: labels drawn one after another mostly
// carry the same symbol at the same place. Keyed by all that places the bars; the runs are
// shared so that a drawing keeps its own while host events draw again.
struct QV_EXPORT KeptBarRuns {
    std::string modules;
    std::int32_t x = 0;
    std::int32_t moduleWidth = 0;
    std::shared_ptr<const std::vector<surface::ColumnRun>> runs;
};

// The runs of the bars: those kept when the last drawing placed the same modules in the same
// columns, else new ones, which kept then holds.
QV_EXPORT std::shared_ptr<const std::vector<surface::ColumnRun>> RunsOf(std::string_view modules,
                                                                        std::int32_t x,
                                                                        std::int32_t moduleWidth,
                                                                        KeptBarRuns& kept);

}  // namespace qv::render
