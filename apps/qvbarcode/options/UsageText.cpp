// SPDX-License-Identifier: MIT
#include "options/UsageText.h"

#include <string>

#include "control/PropertyTable.h"

#ifndef QV_VERSION
#define QV_VERSION "unknown"
#endif

namespace qv::cli {

std::string_view UsageText() {
    return "usage: qvbarcode -t TYPE -d TEXT [options] -o FILE\n"
           "       qvbarcode --batch LIST -o PATTERN [options]\n"
           "Try 'qvbarcode --help' for more.\n";
}

namespace {

// The lines of a property's option: its names, then its help line from the property table
// in a column of its own; names too long for that column stand on a line of their own.
std::string OptionHelp(control::Property property) {
    constexpr std::size_t kHelpColumn = 27;
    const control::ProgramOption& option = control::Row(property).option;
    std::string names = "  " + (option.shortName.empty() ? std::string(4, ' ')
                                                         : std::string(option.shortName) + ", ");
    for (std::size_t i = 0; i < option.longNames.size() && !option.longNames[i].empty(); ++i) {
        names += (i > 0 ? ", " : "") + std::string(option.longNames[i]);
    }
    if (!option.valueName.empty()) names += " " + std::string(option.valueName);
    const std::string indent(kHelpColumn, ' ');
    std::string text = names.size() + 2 <= kHelpColumn
                           ? names + std::string(kHelpColumn - names.size(), ' ')
                           : names + "\n" + indent;
    for (char c : option.help) {
        text += c;
        if (c == '\n') text += indent;
    }
    return text + "\n";
}

std::string BuildHelpText() {
    using control::Property;
    return std::string(
        R"(usage: qvbarcode -t TYPE -d TEXT [options] -o FILE
       qvbarcode --batch LIST -o PATTERN [options]

Draws a one-dimensional barcode and writes it as a picture.

Barcode:
)" + OptionHelp(Property::BarCodeType) +
        OptionHelp(Property::Text) + OptionHelp(Property::CalculateCheckDigit) +
        OptionHelp(Property::ShowValue) + OptionHelp(Property::BackgroundWhite) +
        R"(
Size (lengths in px, the default, or mm, cm, in, pt: 37.29mm, 1.5in):
      --dpi N              the printer's resolution, default 96 (the control's own);
                           lengths become pixels at it, and the caption keeps its
                           printed size (8.25 pt)
)" + OptionHelp(Property::BarWidth) +
        R"(      --module LENGTH      the module (X) size instead of a width
)" + OptionHelp(Property::BarHeight) +
        OptionHelp(Property::BarWidthSource) +
        R"(      --quiet-zone N       N modules of white left and right (EAN-13 wants 11 and 7,
                           Interleaved 2 of 5 10)
  With no width or module the barcode takes the control's default size
  (BarWidthSource): one pixel per module and 50 pixels high at 96 dpi, the same
  printed size at any other.

Output:
  -o, --output FILE        .png, .svg, .pbm, .pgm, .pdf or .eps by its ending, written
                           atomically; - writes to standard output (needs --format)
      --format FORMAT      png, svg, pbm, pgm, pdf or eps
      --onto IMAGE.png     draw onto a copy of this PNG instead of an own picture
)" + OptionHelp(Property::PositionX) +
        OptionHelp(Property::PositionY) +
        R"(
Batch:
      --batch LIST         one text per line, or CSV whose first line names columns:
                           the properties Text, BarCodeType, BarWidth, BarHeight,
                           BarWidthSource, BackgroundWhite, ShowValue,
                           CalculateCheckDigit (Booleans: True/False, -1/0, 1, yes/no),
                           and any others; - reads standard input. The options above
                           are the defaults for every record.
      --text-column NAME   take Text from the column NAME (EAN, SKU, ...)
  -o PATTERN               a run of # is the record number, {NAME} the record's
                           cell of column NAME: labels/####.png, labels/{SKU}.pdf
                           (ending in the format's ending); missing folders are made
      --jobs N             draw on N threads, default one per core; the files and
                           messages are the same for any N
      --from N             start at record N, numbers and file names as before: a
                           batch stops at a full disk, a read-only folder or Ctrl-C
                           and says which record to resume from

  -h, --help               this text
  -V, --version            the program's version
      --typelib            the component's type library as interface description text

Warnings on stderr (nothing else changes): an EAN-13 whose last digit is not its check
digit, a '*' in a Code 39 text, a barcode running off the --onto image, a caption that
covers every row of bars.

Exit status: 0 drawn; 1 the control reported a result code (stderr: CODE DESCRIPTION,
in the user's language) or a batch record failed; 2 usage or file error; 3 failed call
(overflow, out of memory); a stopped batch is a file error; 130 or 143 a batch ended by
SIGINT or SIGTERM. A failure never leaves a partial or clobbered file.

Examples:
  qvbarcode -t ean13 -d 400638133393 -c -w -s -o ean.png
  qvbarcode -t ean13 -d 400638133393 -c -w -s --dpi 300 --width 37.29mm --height 25.93mm --quiet-zone 11 -o ean.pdf
  qvbarcode -t i2of5 -d 12345678 -w -s --dpi 300 --module 0.5mm --quiet-zone 10 -o itf.eps
  qvbarcode -t s2of5 -d 1234 -c -w --height 40 -o s25.pbm
  qvbarcode -t code39 -d QVBARCODE -w -s --width 400 -o code39.svg
  qvbarcode -t code39 -d ABC --onto label.png --x 20 --y 10 -o label-coded.png
  qvbarcode -t code39 -d HELLO --format svg -o - > hello.svg
  printf 'SKU,EAN\nA-1,4006381333931\n' | qvbarcode --batch - --text-column EAN -t ean13 -w -s -o 'labels/{SKU}.png'
  seq 400638133390 400638133399 | qvbarcode --batch - --from 4 --jobs 2 -t ean13 -c -w -o 'labels/####.png'
)");
}

}  // namespace

std::string_view HelpText() {
    static const std::string text = BuildHelpText();
    return text;
}

std::string_view VersionText() {
    return "qvbarcode " QV_VERSION "\n";
}

}  // namespace qv::cli
