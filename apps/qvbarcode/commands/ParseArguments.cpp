// SPDX-License-Identifier: MIT
#include "commands/ParseArguments.h"

#include "commands/CommandOption.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "options/SizeOptions.h"
#include "options/ValueParsing.h"
#include "output/OutputPattern.h"

namespace qv::cli {

UsageError BadValue(std::string_view option, std::string_view value, std::string_view wanted) {
    return {"invalid value '" + std::string(value) + "' for " + std::string(option) + ": " +
            std::string(wanted)};
}

namespace {

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
CommandOption PropertyOption(control::Property property, Apply apply) {
    const control::ProgramOption& option = control::Row(property).option;
    std::vector<std::string_view> longNames;
    for (std::string_view name : option.longNames) {
        if (!name.empty()) longNames.push_back(name);
    }
    return {option.shortName, std::move(longNames), !option.valueName.empty(), std::move(apply)};
}

// A property's length option, whose messages name it as the table does.
CommandOption PropertyLength(control::Property property, std::optional<Length> Collected::*field) {
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

std::vector<CommandOption> BuildKnownOptions() {
    using control::Property;
    std::vector<CommandOption> known{
        PropertyOption(Property::BarCodeType, SetType),
        PropertyOption(Property::Text, SetText),
        PropertyLength(Property::BarWidth, &Collected::width),
        PropertyLength(Property::BarHeight, &Collected::height),
        PropertyLength(Property::PositionX, &Collected::x),
        PropertyLength(Property::PositionY, &Collected::y),
        {"", {"--module"}, true, SetLength("--module", &Collected::module)},
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
    };
    for (const SizeOption& size : SizeOptions()) {
        known.push_back({size.shortName,
                         {size.longName},
                         size.takesValue,
                         [apply = size.apply](Collected& c, std::string_view value) {
                             const auto why = apply(c.options, value);
                             return why ? std::optional(UsageError{*why}) : std::nullopt;
                         }});
    }
    // Every Boolean property with an option is a flag that sets it True.
    for (const control::PropertyRow& row : control::kProperties) {
        if (const auto flag = FlagOf(row.property); flag && row.option.Exists()) {
            if (row.property != Property::CalculateCheckDigit) {
                known.push_back(PropertyOption(row.property, SetFlag(flag)));
                continue;
            }
            known.push_back(PropertyOption(row.property, SetCheckDigit()));
            known.back().optionalValues = CheckDigitModes();
        }
    }
    for (CommandOption& option : ListAndCheckDigitOptions()) {
        known.push_back(std::move(option));
    }
    for (CommandOption& option : SheetLayoutOptions()) {
        known.push_back(std::move(option));
    }
    known.push_back(PrintQueueOption());
    return known;
}

const std::vector<CommandOption>& KnownOptions() {
    static const std::vector<CommandOption> known = BuildKnownOptions();
    return known;
}

const CommandOption* FindOption(std::string_view name) {
    for (const CommandOption& option : KnownOptions()) {
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
    if (auto error = SettlePrint(c)) {
        return error;
    }
    if (!c.sawOutput && !o.printQueue) {
        return UsageError{"an output is needed: -o FILE"};
    }
    if (c.sawOutput && o.output.empty()) {
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
        if (!std::get<OutputPattern>(pattern).NamesRecords() && !WritesOneDocument(c)) {
            return UsageError{
                "the batch output pattern needs a run of # for the record number or a {COLUMN}"
                ", or a name ending in .pdf or .ps for one document"};
        }
    }
    if (auto error = CheckListAndCheckDigit(c)) {
        return error;
    }
    if (o.onto && o.onto->path.empty()) {
        return UsageError{"--x and --y need --onto IMAGE.png"};
    }
    const auto byEnding = o.output == "-" || !c.sawOutput ? std::nullopt : FormatOfPath(o.output);
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
    if (auto error = CheckSheetOptions(c)) {
        return error;
    }
    if (o.printQueue && o.command == Command::Batch && !o.oneDocument) {
        return UsageError{
            "--print sends the batch as one document: leave -o out, or name it without # or "
            "{COLUMN}, ending in .pdf or .ps"};
    }
    if (o.onto && !IsRaster(o.format)) {
        return UsageError{"--onto draws on a picture: the output must be PNG, PBM or PGM"};
    }
    if (o.onto && o.quietZoneModules > 0) {
        return UsageError{
            "--quiet-zone widens the picture, which --onto keeps at the image's size: "
            "leave the room with --x instead"};
    }
    if (auto why = SettleSizeOptions(o, {c.width, c.height, c.module})) {
        return UsageError{*why};
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string_view> CommandLineOptionNames() {
    std::vector<std::string_view> names;
    for (const CommandOption& option : KnownOptions()) {
        if (!option.shortName.empty()) names.push_back(option.shortName);
        names.insert(names.end(), option.longNames.begin(), option.longNames.end());
    }
    return names;
}

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
        const CommandOption* option = FindOption(name);
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
        } else if (inlineValue && option->optionalValues.empty() && !option->optionalName) {
            return UsageError{std::string(name) + " takes no value"};
        } else if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < arguments.size() &&
                   (option->optionalName
                        ? !arguments[i + 1].starts_with("-")
                        : std::ranges::find(option->optionalValues, arguments[i + 1]) !=
                              option->optionalValues.end())) {
            value = arguments[++i];
        }
        if (auto error = option->apply(collected, value)) {
            return *error;
        }
    }
    if (collected.options.command == Command::ListSheets) {
        return OnlyCommand(Command::ListSheets);
    }
    if (auto error = CheckTogether(collected)) {
        return *error;
    }
    return collected.options;
}

}  // namespace qv::cli
