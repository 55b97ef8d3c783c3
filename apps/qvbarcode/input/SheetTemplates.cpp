// SPDX-License-Identifier: MIT
#include "input/SheetTemplates.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>

namespace qv::cli {

namespace {

namespace fs = std::filesystem;

using Attributes = const XML_Char**;

std::string Attribute(Attributes attributes, const char* name) {
    for (; attributes[0] != nullptr; attributes += 2) {
        if (std::strcmp(attributes[0], name) == 0) return attributes[1];
    }
    return {};
}

double LengthOf(Attributes attributes, const char* name) {
    return TemplateLength(Attribute(attributes, name)).value_or(0.0);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

using ElementStart = std::function<void(std::string_view name, Attributes attributes)>;
using ElementEnd = std::function<void(std::string_view name)>;

// Reads the file through expat (which the system's font configuration loads anyway),
// calling the handlers for each element; false when it cannot be read or is no XML.
bool ReadXml(const fs::path& file, const ElementStart& start, const ElementEnd& end) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    struct Handlers {
        const ElementStart& start;
        const ElementEnd& end;
    } handlers{start, end};
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), XML_ParserFree);
    if (!parser) return false;
    XML_SetUserData(parser.get(), &handlers);
    XML_SetElementHandler(
        parser.get(),
        [](void* data, const XML_Char* name, Attributes attributes) {
            static_cast<Handlers*>(data)->start(name, attributes);
        },
        [](void* data, const XML_Char* name) { static_cast<Handlers*>(data)->end(name); });
    char buffer[1 << 16];
    for (;;) {
        in.read(buffer, sizeof buffer);
        const bool last = in.gcount() < static_cast<std::streamsize>(sizeof buffer);
        if (XML_Parse(parser.get(), buffer, static_cast<int>(in.gcount()), last) ==
            XML_STATUS_ERROR) {
            return false;
        }
        if (last) return true;
    }
}

using PaperSizes = std::map<std::string, std::pair<double, double>, std::less<>>;

PaperSizes ReadPaperSizes(const fs::path& folder) {
    PaperSizes sizes;
    ReadXml(
        folder / "paper-sizes.xml",
        [&](std::string_view name, Attributes a) {
            if (name == "Paper-size") {
                sizes[Attribute(a, "id")] = {LengthOf(a, "width"), LengthOf(a, "height")};
            }
        },
        [](std::string_view) {});
    return sizes;
}

// Whether a template's sheet can be laid out: sizes positive, no more labels than a geometry
// may have, and every label's edges finite (a length such as 1e308in is none).
bool Usable(const SheetLayout& sheet) {
    const auto positive = [](double v) { return std::isfinite(v) && v > 0; };
    if (sheet.grids.empty() || !positive(sheet.labelWidth) || !positive(sheet.labelHeight) ||
        !positive(sheet.pageWidth) || !positive(sheet.pageHeight)) {
        return false;
    }
    std::int64_t labels = 0;
    return std::ranges::all_of(sheet.grids, [&](const LabelGrid& grid) {
        const double right = grid.left + (grid.columns - 1) * grid.pitchX + sheet.labelWidth;
        const double bottom = grid.top + (grid.rows - 1) * grid.pitchY + sheet.labelHeight;
        labels += std::int64_t{grid.columns} * grid.rows;
        return grid.columns <= kMostLabelsEachWay && grid.rows <= kMostLabelsEachWay &&
               labels <= kMostLabelsPerSheet && std::isfinite(right) && std::isfinite(bottom);
    });
}

// The templates of one file, as its elements come: a template's first label, if it is one
// the program can fill (a rectangle, a round label or a disc), its layouts and aliases.
class TemplateReader {
  public:
    TemplateReader(const PaperSizes& papers, std::vector<SheetLayout>& sheets)
        : papers_(papers), sheets_(sheets) {}

    void Start(std::string_view name, Attributes a) {
        if (name == "Template") {
            StartTemplate(a);
        } else if (!inTemplate_) {
            return;
        } else if (name == "Label-rectangle" || name == "Label-round" || name == "Label-cd") {
            labels_++;
            if (labels_ > 1) return;
            sheet_.round = name != "Label-rectangle";
            if (sheet_.round) {
                sheet_.labelWidth = sheet_.labelHeight = 2 * LengthOf(a, "radius");
                sheet_.cornerRadius = sheet_.labelWidth / 2;
            } else {
                sheet_.labelWidth = LengthOf(a, "width");
                sheet_.labelHeight = LengthOf(a, "height");
                sheet_.cornerRadius = LengthOf(a, "round");
            }
        } else if (name.starts_with("Label-")) {
            labels_++;  // a shape the program does not fill
            if (labels_ == 1) shapeUnknown_ = true;
        } else if (name == "Layout" && labels_ == 1) {
            LabelGrid grid{std::atoi(Attribute(a, "nx").c_str()),
                           std::atoi(Attribute(a, "ny").c_str()),
                           LengthOf(a, "x0"),
                           LengthOf(a, "y0"),
                           LengthOf(a, "dx"),
                           LengthOf(a, "dy")};
            if (grid.columns > 0 && grid.rows > 0) sheet_.grids.push_back(grid);
        } else if (name == "Alias") {
            aliases_.push_back(Attribute(a, "brand") + " " + Attribute(a, "part"));
        }
    }

    void End(std::string_view name) {
        if (name != "Template" || !inTemplate_) return;
        inTemplate_ = false;
        if (!equivalent_.empty()) {
            const auto found = byPart_.find(brand_ + " " + equivalent_);
            if (found == byPart_.end()) return;
            sheet_ = found->second;
        } else if (shapeUnknown_ || !Usable(sheet_)) {
            return;
        }
        sheet_.name = brand_ + " " + part_;
        byPart_[sheet_.name] = sheet_;
        sheets_.push_back(sheet_);
        for (const std::string& alias : aliases_) {
            sheets_.push_back(sheet_);
            sheets_.back().name = alias;
        }
    }

  private:
    void StartTemplate(Attributes a) {
        inTemplate_ = true;
        sheet_ = {};
        labels_ = 0;
        shapeUnknown_ = false;
        aliases_.clear();
        brand_ = Attribute(a, "brand");
        part_ = Attribute(a, "part");
        equivalent_ = Attribute(a, "equiv");
        if (const auto paper = papers_.find(Attribute(a, "size")); paper != papers_.end()) {
            std::tie(sheet_.pageWidth, sheet_.pageHeight) = paper->second;
        } else {
            sheet_.pageWidth = LengthOf(a, "width");
            sheet_.pageHeight = LengthOf(a, "height");
        }
    }

    const PaperSizes& papers_;
    std::vector<SheetLayout>& sheets_;
    std::map<std::string, SheetLayout> byPart_;  // this file's, for the equivalents
    bool inTemplate_ = false;
    SheetLayout sheet_;
    int labels_ = 0;
    bool shapeUnknown_ = false;
    std::string brand_, part_, equivalent_;
    std::vector<std::string> aliases_;
};

}  // namespace

std::variant<std::vector<SheetLayout>, std::string> ReadSheetTemplates(const std::string& folder) {
    std::error_code error;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().filename().string().ends_with("-templates.xml")) {
            files.push_back(entry.path());
        }
    }
    if (error || files.empty()) {
        return "no label-sheet templates in " + folder +
               " (the glabels-data package installs them): give the sheet as "
               "PAGE:COLUMNSxROWS:WxHmm:LEFTxTOPmm:PITCHXxPITCHYmm";
    }
    std::ranges::sort(files);
    const PaperSizes papers = ReadPaperSizes(folder);
    std::vector<SheetLayout> sheets;
    for (const fs::path& file : files) {
        TemplateReader reader(papers, sheets);
        ReadXml(
            file, [&](std::string_view name, Attributes a) { reader.Start(name, a); },
            [&](std::string_view name) { reader.End(name); });
    }
    return sheets;
}

std::variant<SheetLayout, std::string> FindSheet(std::string_view name, const std::string& folder) {
    if (auto geometry = ParseSheetGeometry(name)) {
        if (auto* layout = std::get_if<SheetLayout>(&*geometry)) return std::move(*layout);
        return std::get<std::string>(*geometry);
    }
    auto sheets = ReadSheetTemplates(folder);
    if (auto* error = std::get_if<std::string>(&sheets)) return std::move(*error);
    const std::string wanted = Lower(name);
    for (SheetLayout& sheet : std::get<std::vector<SheetLayout>>(sheets)) {
        if (Lower(sheet.name) == wanted) return std::move(sheet);
    }
    return "no label sheet is called '" + std::string(name) +
           "': --sheet list names those installed";
}

}  // namespace qv::cli
