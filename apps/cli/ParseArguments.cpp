#include "ParseArguments.h"

#include <functional>
#include <optional>
#include <vector>

#include "OutputPattern.h"
#include "ValueParsing.h"

namespace qv::cli {

namespace {

// Everything the command line said, before the checks that look at the options together.
struct Collected {
    Options options;
    std::optional<OutputFormat> format;
    bool sawOutput = false;
};

using Apply = std::function<std::optional<UsageError>(Collected&, std::string_view value)>;

struct OptionSpec {
    std::string_view shortName;  // empty when there is none
    std::vector<std::string_view> longNames;
    bool takesValue;
    Apply apply;
};

UsageError BadValue(std::string_view option, std::string_view value, std::string_view wanted) {
    return {"invalid value '" + std::string(value) + "' for " + std::string(option) + ": " +
            std::string(wanted)};
}

Options OnlyCommand(Command command) {
    Options options;
    options.command = command;
    return options;
}

OntoImage& Onto(Collected& c) {
    if (!c.options.onto) {
        c.options.onto.emplace();
    }
    return *c.options.onto;
}

Apply SetFlag(AutomationBool BarcodeSettings::*flag) {
    return [flag](Collected& c, std::string_view) -> std::optional<UsageError> {
        c.options.settings.*flag = kTrue;
        return std::nullopt;
    };
}

Apply SetNumber(std::string_view option, std::int32_t* (*field)(Collected&)) {
    return [option, field](Collected& c, std::string_view value) -> std::optional<UsageError> {
        const auto number = ParseWholeNumber(value);
        if (!number) {
            return BadValue(option, value, "a whole number is expected");
        }
        *field(c) = *number;
        return std::nullopt;
    };
}

const std::vector<OptionSpec>& Specs() {
    static const std::vector<OptionSpec> specs{
        {"-t",
         {"--type"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             const auto type = ParseBarcodeType(value);
             if (!type) {
                 return BadValue("--type", value, "i2of5, s2of5, code39, ean13 or a number");
             }
             c.options.settings.barCodeType = *type;
             return std::nullopt;
         }},
        {"-d",
         {"--text", "--data"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             c.options.settings.text = std::string(value);
             return std::nullopt;
         }},
        {"-c", {"--check-digit"}, false, SetFlag(&BarcodeSettings::calculateCheckDigit)},
        {"-s", {"--show-value"}, false, SetFlag(&BarcodeSettings::showValue)},
        {"-w",
         {"--background-white", "--white"},
         false,
         SetFlag(&BarcodeSettings::backgroundWhite)},
        {"", {"--default-size"}, false, SetFlag(&BarcodeSettings::barWidthSource)},
        {"",
         {"--width"},
         true,
         SetNumber("--width", [](Collected& c) { return &c.options.settings.barWidth; })},
        {"",
         {"--height"},
         true,
         SetNumber("--height", [](Collected& c) { return &c.options.settings.barHeight; })},
        {"-o",
         {"--output"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             c.options.output = std::string(value);
             c.sawOutput = true;
             return std::nullopt;
         }},
        {"",
         {"--format"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             c.format = ParseFormatName(value);
             if (!c.format) {
                 return BadValue("--format", value, "png, svg, pbm or pgm");
             }
             return std::nullopt;
         }},
        {"",
         {"--onto"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             Onto(c).path = std::string(value);
             return std::nullopt;
         }},
        {"", {"--x"}, true, SetNumber("--x", [](Collected& c) { return &Onto(c).x; })},
        {"", {"--y"}, true, SetNumber("--y", [](Collected& c) { return &Onto(c).y; })},
        {"",
         {"--batch"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             c.options.command = Command::Batch;
             c.options.batchInput = std::string(value);
             return std::nullopt;
         }},
    };
    return specs;
}

const OptionSpec* FindSpec(std::string_view name) {
    for (const OptionSpec& option : Specs()) {
        if (name == option.shortName) {
            return &option;
        }
        for (std::string_view longName : option.longNames) {
            if (name == longName) {
                return &option;
            }
        }
    }
    return nullptr;
}

// The checks that need the whole command line.
std::optional<UsageError> CheckTogether(Collected& c) {
    Options& o = c.options;
    if (!c.sawOutput) {
        return UsageError{"an output is needed: -o FILE"};
    }
    if (o.output.empty()) {
        return UsageError{"the output name is empty"};
    }
    if (o.command == Command::Render && !o.settings.barCodeType) {
        return UsageError{"a barcode type is needed: -t i2of5|s2of5|code39|ean13"};
    }
    if (o.command == Command::Render && !o.settings.text) {
        return UsageError{"a text is needed: -d TEXT"};
    }
    if (o.command == Command::Batch && o.output == "-") {
        return UsageError{
            "a batch writes one file per record: give -o PATTERN, e.g. "
            "labels/####.png"};
    }
    if (o.command == Command::Batch && !HasNumberRun(o.output)) {
        return UsageError{"the batch output pattern needs a run of # for the record number"};
    }
    if (o.command == Command::Batch && o.batchInput.empty()) {
        return UsageError{"the batch input name is empty"};
    }
    if (o.onto && o.onto->path.empty()) {
        return UsageError{"--x and --y need --onto IMAGE.png"};
    }
    const auto byEnding = o.output == "-" ? std::nullopt : FormatOfPath(o.output);
    if (c.format && byEnding && *c.format != *byEnding) {
        return UsageError{"--format disagrees with the ending of " + o.output};
    }
    if (!c.format && !byEnding) {
        return UsageError{o.output == "-" ? "writing to standard output needs --format"
                                          : "cannot tell the format of " + o.output +
                                                ": use .png, .svg, .pbm or .pgm, or --format"};
    }
    o.format = c.format ? *c.format : *byEnding;
    if (o.onto && o.format == OutputFormat::Svg) {
        return UsageError{"--onto draws on a picture: the output cannot be SVG"};
    }
    return std::nullopt;
}

}  // namespace

ParseResult ParseArguments(std::span<const std::string_view> arguments) {
    Collected collected;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view name = arguments[i];
        if (name == "-h" || name == "--help") {
            return OnlyCommand(Command::Help);
        }
        if (name == "-V" || name == "--version") {
            return OnlyCommand(Command::Version);
        }
        if (name == "--typelib") {
            return OnlyCommand(Command::TypeLibrary);
        }
        // --name=value for the long options.
        std::optional<std::string_view> inlineValue;
        if (name.starts_with("--")) {
            if (const auto eq = name.find('='); eq != std::string_view::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
        }
        const OptionSpec* option = FindSpec(name);
        if (option == nullptr) {
            return UsageError{name.starts_with("-")
                                  ? "unknown option " + std::string(name)
                                  : "unexpected argument '" + std::string(name) + "'"};
        }
        std::string_view value;
        if (option->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return UsageError{std::string(name) + " needs a value"};
            }
        } else if (inlineValue) {
            return UsageError{std::string(name) + " takes no value"};
        }
        if (auto error = option->apply(collected, value)) {
            return *error;
        }
    }
    if (auto error = CheckTogether(collected)) {
        return *error;
    }
    return collected.options;
}

}  // namespace qv::cli
