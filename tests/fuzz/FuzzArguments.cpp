// SPDX-License-Identifier: MIT
// Reads command lines as people type them: real and misspelt options, --name=value, lengths
// with units at any --dpi, --quiet-zone, the printed size's options, patterns and file names.
// Checks what the program relies on: a usage error is a message; a command line that parses holds
// only what its options allow, lengths in pixels at the last --dpi, and sizes the control can take.

#include "FuzzInput.h"
#include "commands/ParseArguments.h"
#include "drawing/BarcodeSize.h"
#include "options/ValueParsing.h"
#include "output/OutputPattern.h"

namespace qv::fuzz {
namespace {

using cli::Length;

// The program's options, in every spelling, and near misses that must be refused: a name, with
// "=" when it takes a value, then the key of the option whose value it sets, for the checks.
constexpr auto kOptions = Words<41>(
    "-t=type --type=type -d=text --text=text --data=text -c -s -w --white --default-size "
    "--width=width --height=height --module=module --dpi=dpi --quiet-zone=quiet --text-column= "
    "-o=output --output=output --format= --onto= --x=x --y=y --batch= --help -V --typelib "
    "--Width= -x= -- - --check-digit --jobs=jobs --from=from --magnification=magnification "
    "--bar-reduction= --explain -v --check-digit= --no-verify --separator= --encoding=");

// Whole values: types, formats, names, patterns and the edges of what a value may be.
constexpr std::array<std::string_view, 37> kValues{
    "i2of5",      "S2OF5",   "code39",     "ean13",      "99",    "0123456789", "out.png", "x.SVG",
    "-",          "a/b.pdf", "l/####.pgm", "{Text}.eps", "{}",    "{a",         "##",      "png",
    "eps",        "",        " 5",         "nan",        "inf",   "1e3",        "+7",      "10000",
    "10000.0001", "0x10",    "\xff\xfe",   "Code",       "auto",  "verify",     ";",       "TAB",
    "latin1",     "std",     "100%",       "1dot",       "1.5mil"};

// A length as a number and a unit (the last two refused), the number with a sign and digits
// after the point.
constexpr std::array<std::string_view, 9> kUnits{"",   "px", "mm",  "CM", "in",
                                                 "pt", "Pt", " mm", "km"};
std::string ConsumeLength(ByteReader& in) {
    std::string number = std::to_string(ConsumeInt32(in));
    if (in.Bool()) number += "." + std::to_string(in.InRange<int>(0, 99999));
    if (in.InRange<int>(0, 7) == 0) number.insert(0, "+");
    return number + std::string(kUnits[in.Byte() % kUnits.size()]);
}

std::string ConsumeValue(ByteReader& in) {
    const int kind = in.InRange<int>(0, 3);
    if (kind == 0) return std::string(kValues[in.Byte() % kValues.size()]);
    if (kind == 1) return std::to_string(ConsumeInt32(in));
    return ConsumeLength(in);
}

// A length option's pixels as the parsed options hold them (their rounding: tests/cli).
std::optional<std::int32_t> CheckedPixels(std::string_view text, double dotsPerInch) {
    const std::optional<Length> length = cli::ParseLength(text);
    QV_REQUIRE(length);  // the command line parsed
    const std::optional<std::int32_t> pixels = cli::ToPixels(*length, dotsPerInch);
    QV_REQUIRE(pixels);
    return pixels;
}

void CheckOptions(const cli::Options& o, const std::map<std::string_view, std::string>& last) {
    const auto given = [&](std::string_view key) { return last.find(key) != last.end(); };
    QV_REQUIRE(o.dotsPerInch > 0.0 && o.dotsPerInch <= 10000.0);
    QV_REQUIRE(o.dotsPerInch == (given("dpi") ? *cli::ParsePositiveNumber(last.at("dpi")) : 96.0));
    QV_REQUIRE(o.quietZoneModules >= 0 && o.quietZoneModules <= 1000);
    QV_REQUIRE(o.standardQuietZones == (given("quiet") && last.at("quiet") == "std"));
    QV_REQUIRE(
        o.quietZoneModules ==
        (given("quiet") && !o.standardQuietZones ? *cli::ParseWholeNumber(last.at("quiet")) : 0));
    QV_REQUIRE(!o.output.empty() && o.output == last.at("output"));
    QV_REQUIRE(!o.onto ||
               (cli::IsRaster(o.format) && o.quietZoneModules == 0 && !o.standardQuietZones));
    QV_REQUIRE(!o.explain || o.command == cli::Command::Render);
    // A batch's threads and first record: 1 to 256 (0 for one per core), from record 1 on.
    QV_REQUIRE(o.jobs == (given("jobs") ? *cli::ParseCount(last.at("jobs")) : 0));
    QV_REQUIRE(o.jobs >= 0 && o.jobs <= 256 && o.firstRecord >= 1);
    QV_REQUIRE(o.command == cli::Command::Batch || (o.jobs == 0 && o.firstRecord == 1));
    // How a list is read is a batch's; a check digit is not both verified and taken as given.
    QV_REQUIRE(o.command == cli::Command::Batch ||
               (o.separator == 0 && o.encoding == cli::ListEncoding::Utf8));
    QV_REQUIRE(o.settings.checkDigit != cli::CheckDigitMode::Verify || o.settings.verifyCheckDigit);
    if (o.command == cli::Command::Render) {
        QV_REQUIRE(o.settings.barCodeType && o.settings.text);
    } else if (o.command == cli::Command::Batch) {
        // A file per record, or one document of them all.
        const auto pattern = cli::OutputPattern::Parse(o.output);
        QV_REQUIRE(o.output != "-" &&
                   (o.oneDocument || std::get<cli::OutputPattern>(pattern).NamesRecords()));
    }
    const auto pixels = [&](std::string_view key) {
        return given(key) ? CheckedPixels(last.at(key), o.dotsPerInch) : std::nullopt;
    };
    QV_REQUIRE(o.settings.barWidth == pixels("width"));
    if (given("magnification")) {
        // The module and height of an EAN-13 at 80% to 200% of its size, in whole dots.
        QV_REQUIRE(o.settings.barCodeType == 3 && !given("module") && !given("height"));
        QV_REQUIRE(o.asked.magnification >= 80.0 && o.asked.magnification <= 200.0);
        QV_REQUIRE(o.settings.modulePixels >= 1 && o.settings.barHeight >= 0);
    } else {
        QV_REQUIRE(o.settings.barHeight == pixels("height"));
        const auto module = pixels("module");
        QV_REQUIRE(o.settings.modulePixels ==
                   (module ? std::optional(std::max(*module, 1)) : module));
    }
    if (o.onto)
        QV_REQUIRE(o.onto->x == pixels("x").value_or(0) && o.onto->y == pixels("y").value_or(0));

    // The size the control gets: the width given, or the default size's, or the modules'.
    const cli::ControlSize size = cli::ResolveSize(o.settings, o.dotsPerInch);
    if (o.settings.barWidthSource != cli::kFalse) {
        QV_REQUIRE(size.barWidth == 0 && size.barHeight == o.settings.barHeight.value_or(0));
        return;
    }
    QV_REQUIRE(size.barWidth == o.settings.barWidth.value_or(std::max(size.barWidth, 0)));
    if (o.settings.barHeight) QV_REQUIRE(size.barHeight == *o.settings.barHeight);
    QV_REQUIRE(o.settings.barHeight || size.barWidthSource != cli::kFalse || size.barHeight >= 1);
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv::fuzz;
    ByteReader in(data, size);
    std::vector<std::string> arguments;
    std::map<std::string_view, std::string> last;  // the value each option had last
    while (in.remaining() > 0 && arguments.size() < 16) {
        const std::string_view option = kOptions[in.Byte() % kOptions.size()];
        const std::size_t equals = option.find('=');
        const std::string name(option.substr(0, equals));
        if (equals == option.npos) {
            arguments.push_back(name);
            continue;
        }
        std::string value = ConsumeValue(in);
        if (name.starts_with("--") && in.Bool()) {
            arguments.push_back(name + "=" + value);
        } else {
            arguments.push_back(name);
            if (in.remaining() > 0) arguments.push_back(value);  // at the end, none
        }
        if (equals + 1 < option.size()) last[option.substr(equals + 1)] = std::move(value);
    }
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    const qv::cli::ParseResult result = qv::cli::ParseArguments(views);
    if (const auto* error = std::get_if<qv::cli::UsageError>(&result)) {
        QV_REQUIRE(!error->message.empty());
        return 0;
    }
    const auto& options = std::get<qv::cli::Options>(result);
    if (options.command == qv::cli::Command::Render || options.command == qv::cli::Command::Batch) {
        CheckOptions(options, last);
    }
    return 0;
}
