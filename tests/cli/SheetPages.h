// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <qvbarcode/imagefile/PngFile.h>
#include "ProgramRun.h"

namespace qv::cli::test {

// A page rasterised at 150 dpi, cut to a rectangle given in points.
struct Page {
    static constexpr double kDpi = 150;
    surface::RasterSurface image;

    surface::RasterSurface Cut(double left, double top, double width, double height) const {
        const auto px = [](double points) { return static_cast<int>(points * kDpi / 72 + 0.5); };
        const int x0 = px(left), y0 = px(top), w = px(width), h = px(height);
        surface::RasterSurface cut(w, h);
        for (int y = 0; y < h; ++y) {
            std::copy_n(image.RowData(y0 + y) + 3 * x0, 3 * w, cut.WritableRowData(y));
        }
        return cut;
    }
};

// What is inked in a picture: left, top, right and bottom in points from its top-left,
// all -1 when blank.
inline std::array<double, 4> InkBox(const surface::RasterSurface& cut) {
    int left = cut.width(), right = -1, top = cut.height(), bottom = -1;
    for (int y = 0; y < cut.height(); ++y) {
        for (int x = 0; x < cut.width(); ++x) {
            if (cut.RowData(y)[3 * x] < 128) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
        }
    }
    if (right < 0) return {-1, -1, -1, -1};
    const double points = 72 / Page::kDpi;
    return {left * points, top * points, right * points, bottom * points};
}

// Its centre, -1 when blank.
inline std::pair<double, double> InkCentre(const surface::RasterSurface& cut) {
    const auto box = InkBox(cut);
    if (box[2] < 0) return {-1, -1};
    return {(box[0] + box[2]) / 2, (box[1] + box[3]) / 2};
}

// Every page of a PDF file, named PREFIX-N.png in the folder.
inline std::vector<Page> Rasterise(const ScratchDirectory& dir, const std::string& document,
                                   const std::string& prefix = "page") {
    const ProgramRun run = RunShell(
        dir, "pdftoppm -r 150 -png '" + document + "' " + prefix + " && ls " + prefix + "-*.png");
    std::vector<Page> pages;
    std::istringstream names(run.out);
    for (std::string name; names >> name;) pages.push_back({imagefile::ReadPng(dir / name)});
    return pages;
}

}  // namespace qv::cli::test
