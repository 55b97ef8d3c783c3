// SPDX-License-Identifier: MIT
// --print [QUEUE]: the barcode sent to a printer queue, as a document whose page is the label.
#include "commands/CommandOption.h"

namespace qv::cli {

CommandOption PrintQueueOption() {
    CommandOption option{"",
                         {"--print"},
                         false,
                         [](Collected& c, std::string_view queue) -> std::optional<UsageError> {
                             c.options.printQueue = std::string(queue);
                             return std::nullopt;
                         }};
    option.optionalName = true;
    return option;
}

std::optional<UsageError> SettlePrint(Collected& c) {
    const Options& o = c.options;
    if (!o.printQueue) {
        return std::nullopt;
    }
    if (!c.sawOutput && !c.format) {
        c.format = OutputFormat::Pdf;
    }
    const auto format = c.format || o.output == "-" ? c.format : FormatOfPath(o.output);
    if (format && *format != OutputFormat::Pdf && *format != OutputFormat::Eps &&
        *format != OutputFormat::Ps) {
        return UsageError{
            "--print sends a PDF, EPS or PostScript document: leave -o out, or write a .pdf, "
            ".eps or .ps too"};
    }
    return std::nullopt;
}

}  // namespace qv::cli
