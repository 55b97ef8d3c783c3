// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "options/SheetLayout.h"

namespace qv::cli {

// Where the label-sheet templates of the system are installed: one XML file of templates
// per maker, and paper-sizes.xml.
inline constexpr std::string_view kSheetTemplateFolder = "/usr/share/libglabels-3.0/templates";

// The sheets of rectangular and round labels in the templates of folder, each named
// "BRAND PART" (and once more by each alias), in the files' order; or why none can be read.
std::variant<std::vector<SheetLayout>, std::string> ReadSheetTemplates(const std::string& folder);

// The sheet named name, in any letter case: a template's "BRAND PART" or a geometry
// written out (ParseSheetGeometry); or why there is none.
std::variant<SheetLayout, std::string> FindSheet(std::string_view name, const std::string& folder);

}  // namespace qv::cli
