// SPDX-License-Identifier: MIT
#include <cstdio>

#include "commands/Commands.h"
#include "input/SheetTemplates.h"
#include "options/ExitStatus.h"
#include "options/TerminalText.h"

namespace qv::cli {

int ListSheets() {
    auto sheets = ReadSheetTemplates(std::string(kSheetTemplateFolder));
    if (auto* why = std::get_if<std::string>(&sheets)) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(*why).c_str());
        return kExitUsage;
    }
    for (const SheetLayout& sheet : std::get<std::vector<SheetLayout>>(sheets)) {
        std::printf("%s\t%lld labels of %s%s on %s\n", TerminalText(sheet.name).c_str(),
                    static_cast<long long>(sheet.LabelsPerSheet()),
                    MillimetreSize(sheet.labelWidth, sheet.labelHeight).c_str(),
                    sheet.round ? " (round)" : "",
                    MillimetreSize(sheet.pageWidth, sheet.pageHeight).c_str());
    }
    return kExitDrawn;
}

}  // namespace qv::cli
