// SPDX-License-Identifier: MIT
#include "input/SheetTemplates.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

namespace qv::cli {

namespace {

namespace fs = std::filesystem;

struct XmlDocument {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, XmlDocument>;

Document Read(const fs::path& file) {
    return Document(xmlReadFile(file.c_str(), nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

bool Is(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

std::string Attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (value == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

double LengthOf(const xmlNode* node, const char* name) {
    return TemplateLength(Attribute(node, name)).value_or(0.0);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

using PaperSizes = std::map<std::string, std::pair<double, double>>;

PaperSizes ReadPaperSizes(const fs::path& folder) {
    PaperSizes sizes;
    const Document document = Read(folder / "paper-sizes.xml");
    if (!document) return sizes;
    for (xmlNode* node = xmlDocGetRootElement(document.get())->children; node; node = node->next) {
        if (Is(node, "Paper-size")) {
            sizes[Attribute(node, "id")] = {LengthOf(node, "width"), LengthOf(node, "height")};
        }
    }
    return sizes;
}

// The label of a template, when it is one the program can fill: a rectangle, a round label
// or a disc; nothing for any other shape or a layout without labels.
std::optional<SheetLayout> LabelOf(const xmlNode* label) {
    SheetLayout layout;
    if (Is(label, "Label-rectangle")) {
        layout.labelWidth = LengthOf(label, "width");
        layout.labelHeight = LengthOf(label, "height");
        layout.cornerRadius = LengthOf(label, "round");
    } else if (Is(label, "Label-round") || Is(label, "Label-cd")) {
        layout.round = true;
        layout.labelWidth = layout.labelHeight = 2 * LengthOf(label, "radius");
        layout.cornerRadius = layout.labelWidth / 2;
    } else {
        return std::nullopt;
    }
    for (const xmlNode* node = label->children; node; node = node->next) {
        if (!Is(node, "Layout")) continue;
        LabelGrid grid{std::atoi(Attribute(node, "nx").c_str()),
                       std::atoi(Attribute(node, "ny").c_str()),
                       LengthOf(node, "x0"),
                       LengthOf(node, "y0"),
                       LengthOf(node, "dx"),
                       LengthOf(node, "dy")};
        if (grid.columns > 0 && grid.rows > 0) layout.grids.push_back(grid);
    }
    if (layout.grids.empty() || layout.labelWidth <= 0 || layout.labelHeight <= 0) {
        return std::nullopt;
    }
    return layout;
}

void ReadTemplates(const fs::path& file, const PaperSizes& papers,
                   std::vector<SheetLayout>& sheets) {
    const Document document = Read(file);
    if (!document) return;
    std::map<std::string, SheetLayout> byPart;  // this file's, for the equivalents
    for (xmlNode* node = xmlDocGetRootElement(document.get())->children; node; node = node->next) {
        if (!Is(node, "Template")) continue;
        const std::string brand = Attribute(node, "brand");
        const std::string part = Attribute(node, "part");
        std::optional<SheetLayout> sheet;
        if (const std::string equivalent = Attribute(node, "equiv"); !equivalent.empty()) {
            if (const auto found = byPart.find(brand + " " + equivalent); found != byPart.end()) {
                sheet = found->second;
            }
        } else {
            for (const xmlNode* child = node->children; child && !sheet; child = child->next) {
                sheet = LabelOf(child);
            }
            const auto paper = papers.find(Attribute(node, "size"));
            if (sheet && paper != papers.end()) {
                std::tie(sheet->pageWidth, sheet->pageHeight) = paper->second;
            } else if (sheet) {
                sheet->pageWidth = LengthOf(node, "width");
                sheet->pageHeight = LengthOf(node, "height");
            }
        }
        if (!sheet || sheet->pageWidth <= 0 || sheet->pageHeight <= 0) continue;
        sheet->name = brand + " " + part;
        byPart[sheet->name] = *sheet;
        sheets.push_back(*sheet);
        for (const xmlNode* child = node->children; child; child = child->next) {
            if (Is(child, "Alias")) {
                sheets.push_back(*sheet);
                sheets.back().name = Attribute(child, "brand") + " " + Attribute(child, "part");
            }
        }
    }
}

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
    for (const fs::path& file : files) ReadTemplates(file, papers, sheets);
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
