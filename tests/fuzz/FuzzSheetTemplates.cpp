// SPDX-License-Identifier: MIT
// Reads any bytes as a file of label-sheet templates, then puts drawings of a fuzzed size onto
// the pages of a sheet it read (or a page per label), with a fuzzed first label, offset,
// resolution and outline. Checks what the program relies on: every sheet read has a page and
// labels of positive, finite size, grids of 1 to 1,000 labels each way and at most a million
// a sheet, every label's corner finite; a name finds its sheet in any letter case; a drawing
// is placed whole inside its label, moved by the offset, a page begun for each sheet, or it
// is refused leaving the document untouched. The last 16 bytes choose the options (the seeds
// keep them in a comment after the templates).
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "FuzzInput.h"
#include "input/SheetTemplates.h"
#include "output/LabelPages.h"

namespace qv::fuzz {
namespace {

namespace fs = std::filesystem;

// A folder of the process's own on shared memory, with paper sizes of which one has none;
// removed when the process ends.
struct OwnFolder {
    OwnFolder() {
        fs::create_directories(path);
        std::ofstream(path + "/paper-sizes.xml")
            << "<Glabels-paper-sizes><Paper-size id=\"A4\" width=\"210mm\" height=\"297mm\"/>"
               "<Paper-size id=\"US-Letter\" width=\"8.5in\" height=\"11in\"/>"
               "<Paper-size id=\"none\" width=\"0\" height=\"1e308in\"/></Glabels-paper-sizes>";
    }
    ~OwnFolder() { fs::remove_all(path); }
    const std::string path = "/dev/shm/qv-fuzz-sheets-" + std::to_string(getpid());
};
const std::string& Folder() {
    static const OwnFolder folder;
    return folder.path;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A document that keeps what it was given.
struct Placed {
    double left, top, scale;
};
class PageLog final : public cli::LabelDocument {
  public:
    void NewPage(double width, double height) override { pages.push_back({width, height}); }
    void Draw(const cli::LabelRecording&, double left, double top, double scale) override {
        draws.push_back({left, top, scale});
    }
    void Outline(std::span<const cli::LabelBox> boxes, bool) override {
        outlined += static_cast<std::int64_t>(boxes.size());
    }
    std::int64_t Pages() const override { return static_cast<std::int64_t>(pages.size()); }
    std::optional<cli::FileFailure> Finish() override { return {}; }

    std::vector<std::pair<double, double>> pages;
    std::vector<Placed> draws;
    std::int64_t outlined = 0;
};

void CheckSheet(const cli::SheetLayout& sheet) {
    const auto positive = [](double v) { return std::isfinite(v) && v > 0; };
    QV_REQUIRE(positive(sheet.pageWidth) && positive(sheet.pageHeight));
    QV_REQUIRE(positive(sheet.labelWidth) && positive(sheet.labelHeight));
    QV_REQUIRE(!sheet.grids.empty());
    std::int64_t first = 0;
    for (const cli::LabelGrid& grid : sheet.grids) {
        QV_REQUIRE(grid.columns >= 1 && grid.rows >= 1 && grid.columns <= 1000 &&
                   grid.rows <= 1000);
        // The grid's first and last label, and the last one again a sheet later.
        const std::int64_t last = first + std::int64_t{grid.columns} * grid.rows - 1;
        for (const std::int64_t index : {first, last}) {
            const cli::LabelPlace place = cli::PlaceOf(sheet, index);
            const cli::LabelPlace next = cli::PlaceOf(sheet, index + sheet.LabelsPerSheet());
            QV_REQUIRE(place.sheet == 0 && std::isfinite(place.left) && std::isfinite(place.top));
            QV_REQUIRE(next.sheet == 1 && next.left == place.left && next.top == place.top);
        }
        first = last + 1;
    }
    QV_REQUIRE(first == sheet.LabelsPerSheet() && first <= 1'000'000);
}

// Copies of drawings of fuzzed sizes onto the sheet, or a page each without one.
void CheckPages(const std::optional<cli::SheetLayout>& sheet, ByteReader& in) {
    const std::int64_t perSheet = sheet ? sheet->LabelsPerSheet() : 1;
    cli::PagePlan plan{sheet,
                       in.InRange<std::int64_t>(1, std::min<std::int64_t>(perSheet, 255)),
                       in.InRange<int>(-40, 40) * 2.5,
                       in.InRange<int>(-40, 40) * 2.5,
                       in.Bool(),
                       std::array{96.0, 300.0, 72.0, 1200.0, 0.5}[in.Byte() % 5]};
    PageLog document;
    cli::LabelPages pages(document, plan);
    std::int64_t next = plan.firstLabel - 1;
    for (int round = 0; round < 3; ++round) {
        cli::LabelRecording drawing(in.InRange<std::int32_t>(1, 3000),
                                    in.InRange<std::int32_t>(1, 800), 0);
        const std::int32_t copies = in.InRange<std::int32_t>(0, 40);
        const double scale = 72.0 / plan.dotsPerInch;
        const double w = drawing.Width() * scale, h = drawing.Height() * scale;
        const std::size_t drawn = document.draws.size(), begun = document.pages.size();
        if (!pages.Place(drawing, copies).empty()) {
            QV_REQUIRE(document.draws.size() == drawn && document.pages.size() == begun);
            continue;
        }
        QV_REQUIRE(document.draws.size() == drawn + static_cast<std::size_t>(copies));
        for (std::size_t i = drawn; i < document.draws.size(); ++i, ++next) {
            const Placed& at = document.draws[i];
            QV_REQUIRE(at.scale == scale);
            if (!sheet) {  // a page of the drawing's size
                QV_REQUIRE(document.pages[i] == std::pair(w, h));
                QV_REQUIRE(at.left == plan.offsetX && at.top == plan.offsetY);
                continue;
            }
            // Whole inside its label, the offset taken away; a tolerance for rounding.
            const cli::LabelPlace label = cli::PlaceOf(*sheet, next);
            const double left = at.left - plan.offsetX, top = at.top - plan.offsetY;
            const double slack = 1e-3 + 1e-9 * (std::abs(label.left) + std::abs(label.top));
            QV_REQUIRE(left >= label.left - slack && top >= label.top - slack);
            QV_REQUIRE(left + w <= label.left + sheet->labelWidth + slack &&
                       top + h <= label.top + sheet->labelHeight + slack);
        }
    }
    // A page for each sheet begun: the one of the last label placed.
    const std::int64_t placed = next - (plan.firstLabel - 1);
    QV_REQUIRE(document.Pages() == (!sheet ? placed : placed > 0 ? (next - 1) / perSheet + 1 : 0));
    for (const auto& page : document.pages) {
        QV_REQUIRE(!sheet || page == std::pair(sheet->pageWidth, sheet->pageHeight));
    }
    QV_REQUIRE(document.outlined == (plan.outline && sheet ? document.Pages() * perSheet : 0));
    QV_REQUIRE(pages.Labels() == static_cast<std::int64_t>(document.draws.size()));
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    const std::size_t tail = std::min<std::size_t>(size, 16);
    fuzz::ByteReader in(data + size - tail, tail);
    {
        std::ofstream file(fuzz::Folder() + "/fuzz-templates.xml", std::ios::binary);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    auto read = cli::ReadSheetTemplates(fuzz::Folder());
    QV_REQUIRE(std::holds_alternative<std::vector<cli::SheetLayout>>(read));
    const auto& sheets = std::get<std::vector<cli::SheetLayout>>(read);
    for (const cli::SheetLayout& sheet : sheets) fuzz::CheckSheet(sheet);
    std::optional<cli::SheetLayout> sheet;
    if (!sheets.empty() && in.Bool()) {
        sheet = sheets[in.Byte() % sheets.size()];
        // Found by its name in another letter case: the first of that name.
        const std::string upper = fuzz::Upper(sheet->name);
        const auto found = cli::FindSheet(upper, fuzz::Folder());
        if (!cli::ParseSheetGeometry(upper)) {
            const auto* named = std::get_if<cli::SheetLayout>(&found);
            QV_REQUIRE(named != nullptr);
            QV_REQUIRE(*std::ranges::find(sheets, upper, [](const auto& s) {
                return fuzz::Upper(s.name);
            }) == *named);
        }
    }
    fuzz::CheckPages(sheet, in);
    return 0;
}
