// SPDX-License-Identifier: MIT
#include "commands/ParseArguments.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "options/ValueParsing.h"
#include "output/OutputPattern.h"

namespace qv::cli {

namespace {

constexpr double kMaxDotsPerInch = 10000.0;
constexpr std::int32_t kMaxQuietZone = 1000;
constexpr std::int64_t kMaxJobs = 256;

// Everything the command line said, before the checks that look at the options together.
// Lengths wait for the resolution, which may come after them.
struct Collected {
    Options options;
    std::optional<OutputFormat> format;
    bool sawOutput = false;
    std::optional<Length> width, height, module, x, y;
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

Apply SetLength(std::string_view option, std::optional<Length> Collected::*field) {
    return [option, field](Collected& c, std::string_view value) -> std::optional<UsageError> {
        const auto length = ParseLength(value);
        if (!length) {
            return BadValue(option, value,
                            "a length is expected: 300, 300px, 37.29mm, 2cm, 1.5in, 72pt");
        }
        c.*field = *length;
        return std::nullopt;
    };
}

// A length option in pixels at the command line's resolution.
std::optional<UsageError> ToPixelsAt(const std::optional<Length>& length, std::string_view option,
                                     double dotsPerInch, std::optional<std::int32_t>& pixels) {
    if (!length) {
        return std::nullopt;
    }
    pixels = ToPixels(*length, dotsPerInch);
    if (!pixels) {
        return UsageError{std::string(option) + " is more pixels than 32 bits hold"};
    }
    return std::nullopt;
}

// The option of a property, named as the property table names it.
OptionSpec PropertyOption(control::Property property, Apply apply) {
    const control::ProgramOption& option = control::Row(property).option;
    std::vector<std::string_view> longNames;
    for (std::string_view name : option.longNames) {
        if (!name.empty()) longNames.push_back(name);
    }
    return {option.shortName, std::move(longNames), !option.valueName.empty(), std::move(apply)};
}

// A property's length option, whose messages name it as the table does.
OptionSpec PropertyLength(control::Property property, std::optional<Length> Collected::*field) {
    return PropertyOption(property, SetLength(control::Row(property).option.longNames[0], field));
}

std::optional<UsageError> SetType(Collected& c, std::string_view value) {
    const auto type = ParseBarcodeType(value);
    if (!type) {
        return BadValue(control::Row(control::Property::BarCodeType).option.longNames[0], value,
                        "i2of5, s2of5, code39, ean13 or a number");
    }
    c.options.settings.barCodeType = *type;
    return std::nullopt;
}

std::optional<UsageError> SetText(Collected& c, std::string_view value) {
    c.options.settings.text = std::string(value);
    return std::nullopt;
}

std::vector<OptionSpec> BuildSpecs() {
    using control::Property;
    std::vector<OptionSpec> specs{
        PropertyOption(Property::BarCodeType, SetType),
        PropertyOption(Property::Text, SetText),
        PropertyLength(Property::BarWidth, &Collected::width),
        PropertyLength(Property::BarHeight, &Collected::height),
        PropertyLength(Property::PositionX, &Collected::x),
        PropertyLength(Property::PositionY, &Collected::y),
        {"", {"--module"}, true, SetLength("--module", &Collected::module)},
        {"",
         {"--dpi"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             const auto dpi = ParsePositiveNumber(value);
             if (!dpi || *dpi > kMaxDotsPerInch) {
                 return BadValue("--dpi", value, "a resolution up to 10000 dots per inch");
             }
             c.options.dotsPerInch = *dpi;
             return std::nullopt;
         }},
        {"",
         {"--quiet-zone"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             const auto modules = ParseWholeNumber(value);
             if (!modules || *modules < 0 || *modules > kMaxQuietZone) {
                 return BadValue("--quiet-zone", value, "a number of modules from 0 to 1000");
             }
             c.options.quietZoneModules = *modules;
             return std::nullopt;
         }},
        {"",
         {"--text-column"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             if (value.empty()) {
                 return UsageError{"--text-column needs a column name"};
             }
             c.options.textColumn = std::string(value);
             return std::nullopt;
         }},
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
                 return BadValue("--format", value, "png, svg, pbm, pgm, pdf or eps");
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
        {"",
         {"--jobs"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             const auto jobs = ParseCount(value);
             if (!jobs || *jobs > kMaxJobs) {
                 return BadValue("--jobs", value, "a number of threads from 1 to 256");
             }
             c.options.jobs = static_cast<std::int32_t>(*jobs);
             return std::nullopt;
         }},
        {"",
         {"--from"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             const auto first = ParseCount(value);
             if (!first) {
                 return BadValue("--from", value, "a record number from 1");
             }
             c.options.firstRecord = *first;
             return std::nullopt;
         }},
        {"",
         {"--batch"},
         true,
         [](Collected& c, std::string_view value) -> std::optional<UsageError> {
             c.options.command = Command::Batch;
             c.options.batchInput = std::string(value);
             return std::nullopt;
         }},
    };
    // Every Boolean property with an option is a flag that sets it True.
    for (const control::PropertyRow& row : control::kProperties) {
        if (const auto flag = FlagOf(row.property); flag && row.option.Exists()) {
            specs.push_back(PropertyOption(row.property, SetFlag(flag)));
        }
    }
    return specs;
}

const std::vector<OptionSpec>& Specs() {
    static const std::vector<OptionSpec> specs = BuildSpecs();
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

// The lengths in pixels, once the resolution is known.
std::optional<UsageError> ConvertLengths(Collected& c) {
    Options& o = c.options;
    BarcodeSettings& s = o.settings;
    if (c.module && (c.width || s.barWidthSource != kFalse)) {
        return UsageError{"--module sets the width: give it without --width and --default-size"};
    }
    std::optional<std::int32_t> x, y;
    for (auto [length, option, pixels] : {std::tuple{&c.width, "--width", &s.barWidth},
                                          {&c.height, "--height", &s.barHeight},
                                          {&c.module, "--module", &s.modulePixels},
                                          {&c.x, "--x", &x},
                                          {&c.y, "--y", &y}}) {
        if (auto error = ToPixelsAt(*length, option, o.dotsPerInch, *pixels)) {
            return error;
        }
    }
    if (s.modulePixels) {
        s.modulePixels = std::max(*s.modulePixels, 1);
    }
    // A position is a place on the --onto image: without one, the checks ask for it.
    if (c.x || c.y) {
        Onto(c);
    }
    if (o.onto) {
        o.onto->x = x.value_or(0);
        o.onto->y = y.value_or(0);
    }
    return std::nullopt;
}

// A file name from a column could otherwise make the batch write any kind of file, its
// own list among them.
std::optional<UsageError> CheckColumnNamesEnding(const Options& o) {
    if (o.command != Command::Batch) return std::nullopt;
    const auto pattern = std::get<OutputPattern>(OutputPattern::Parse(o.output));
    if (!pattern.NamesColumns() || FormatOfPath(pattern.FixedEnding()) == o.format) {
        return std::nullopt;
    }
    return UsageError{"the output pattern " + o.output +
                      " takes file names from a column, so it must end in ." +
                      std::string(FormatName(o.format)) + ", as its files will"};
}

// The checks that need the whole command line.
std::optional<UsageError> CheckTogether(Collected& c) {
    Options& o = c.options;
    if (auto error = ConvertLengths(c)) {
        return error;
    }
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
    if (o.command == Command::Batch) {
        const auto pattern = OutputPattern::Parse(o.output);
        if (const auto* error = std::get_if<std::string>(&pattern)) {
            return UsageError{*error};
        }
        if (!std::get<OutputPattern>(pattern).NamesRecords()) {
            return UsageError{
                "the batch output pattern needs a run of # for the record number or a {COLUMN}"};
        }
    }
    if (o.command != Command::Batch && o.textColumn) {
        return UsageError{"--text-column names a column of a --batch list"};
    }
    if (o.command != Command::Batch && (o.jobs != 0 || o.firstRecord != 1)) {
        return UsageError{std::string(o.jobs != 0 ? "--jobs" : "--from") +
                          " is for a --batch: a single barcode is one drawing"};
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
                                                ": use .png, .svg, .pbm, .pgm, .pdf or .eps, "
                                                "or --format"};
    }
    o.format = c.format ? *c.format : *byEnding;
    if (auto error = CheckColumnNamesEnding(o)) {
        return error;
    }
    if (o.onto && !IsRaster(o.format)) {
        return UsageError{"--onto draws on a picture: the output must be PNG, PBM or PGM"};
    }
    if (o.onto && o.quietZoneModules > 0) {
        return UsageError{
            "--quiet-zone widens the picture, which --onto keeps at the image's size: "
            "leave the room with --x instead"};
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
