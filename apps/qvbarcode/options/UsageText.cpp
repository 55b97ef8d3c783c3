// SPDX-License-Identifier: MIT
#include "options/UsageText.h"

#include <string>

#include <qvbarcode/control/PropertyTable.h>

#ifndef QV_VERSION
#define QV_VERSION "unknown"
#endif

namespace qv::cli {

std::string_view UsageText() {
    return "usage: qvbarcode -t TYPE -d TEXT [options] -o FILE\n"
           "       qvbarcode --batch LIST -o PATTERN [options]\n"
           "       qvbarcode --batch LIST [--sheet NAME] [options] -o DOCUMENT.pdf|.ps\n"
           "       qvbarcode -t TYPE -d TEXT | --batch LIST [options] --print [QUEUE]\n"
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
       qvbarcode --batch LIST [--sheet NAME] [options] -o DOCUMENT.pdf|.ps
       qvbarcode -t TYPE -d TEXT | --batch LIST [options] --print [QUEUE]

Draws a one-dimensional barcode and writes it as a picture.

Barcode:
)" + OptionHelp(Property::BarCodeType) +
        OptionHelp(Property::Text) + OptionHelp(Property::CalculateCheckDigit) +
        R"(      --check-digit auto   add it where the text is one digit short (12 for EAN-13,
                           an odd count for Interleaved 2 of 5), verify it otherwise,
                           so that a column may mix both
      --check-digit verify refuse a last digit that is not the check digit (the 2 of 5
                           codes; EAN-13 is verified anyway)
      --no-verify          draw a last digit that is not the check digit as given (an
                           EAN-13's with a warning) instead of refusing it
)" + OptionHelp(Property::ShowValue) +
        OptionHelp(Property::BackgroundWhite) +
        R"(
Size (lengths in px, the default, or mm, cm, in, pt: 37.29mm, 1.5in):
      --dpi N              the printer's resolution, default 96 (the control's own);
                           lengths become pixels at it, and the caption keeps its
                           printed size (8.25 pt)
)" + OptionHelp(Property::BarWidth) +
        R"(      --module LENGTH      the module (X) size instead of a width
)" + OptionHelp(Property::BarHeight) +
        OptionHelp(Property::BarWidthSource) +
        R"(      --quiet-zone N|std   N modules of white left and right, or std: each
                           symbology's own (EAN-13 wants 11 and 7, the others 10)
      --magnification P    an EAN-13 at P% (80% to 200%) of its nominal 0.33 mm
                           module and 22.85 mm bars, in whole dots
      --bar-reduction LENGTH
                           every bar narrower by LENGTH (0.03mm, 1dot, 1.2mil) for a
                           printer whose ink or heat spreads: whole dots in PNG, PBM
                           and PGM, exact in PDF, EPS and SVG
  -v, --explain            tell the symbology, modules, dots per module, module
                           width, quiet zones, bar reduction and sizes in dots and mm
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
        R"(      --print [QUEUE]      send the barcode, or a batch's document, to the printer
                           queue QUEUE or the default one, as a PDF (or the .pdf, .eps
                           or .ps -o writes) on media of the label's or sheet's size,
                           so it prints unrotated at 100%; no -o needed

Batch:
      --batch LIST         one text per line, or CSV whose first line names columns:
                           the properties Text, BarCodeType, BarWidth, BarHeight,
                           BarWidthSource, BackgroundWhite, ShowValue,
                           CalculateCheckDigit (Booleans: True/False, -1/0, 1, yes/no),
                           and any others; - reads standard input. The options above
                           are the defaults for every record; rows of empty cells
                           are skipped.
      --text-column NAME   take Text from the column NAME (EAN, SKU, ...)
      --separator SEP      the cells' separator: ',', ';', tab or '|'; by default the
                           one the header line holds most, as locales export CSV
      --encoding latin1    read text that is not UTF-8 as ISO-8859-1 (Windows-1252), as
                           spreadsheets save plain CSV; without it such a list stops
                           before any record
  -o PATTERN               a run of # is the record number, {NAME} the record's
                           cell of column NAME: labels/####.png, labels/{SKU}.pdf
                           (ending in the format's ending); missing folders are made
      --jobs N             draw on N threads, default one per core; the files and
                           messages are the same for any N
      --from N             start at record N, numbers and file names as before: a
                           batch stops at a full disk, a read-only folder or Ctrl-C
                           and says which record to resume from

One document per batch (-o NAME.pdf or NAME.ps, without # or {NAME}): a page per
label at the label's size, or the labels on sheets; the font embedded once, the
document written whole or not at all. A failed record leaves no page. One barcode
goes into a document alike with --sheet, --copies or .ps.
      --sheet NAME         lay the labels out on sheets, one page a sheet: an installed
                           template by brand and part ('Avery 5160', in any case) or
                           PAGE:COLSxROWS:WxHmm:LEFTxTOPmm:PITCHXxPITCHYmm (PAGE a4,
                           letter or WxHmm; the first label's corner from the page's
                           top-left, the pitch from one label's corner to the next);
                           each barcode centred at its own size, never scaled
      --sheet list         name the installed templates and their sizes
      --first N            start at label N of the first sheet (a sheet partly used)
      --copies N           N labels of every record
      --copies-column NAME each record's number of labels from column NAME (0: none)
      --offset DX,DY       move everything by DX right and DY down, for a printer's
                           drift (1.5mm,-0.5mm); less than the label on its own page
      --outline            draw the labels' borders, for a test print
      --caption TEXT       one line under each barcode, {NAME} the record's cell of
                           column NAME: '{Name} {Price}'

  -h, --help               this text
  -V, --version            the program's version
      --typelib            the component's type library as interface description text

Warnings on stderr (nothing else changes): an EAN-13 drawn with --no-verify whose last
digit is not its check digit, a '*' in a Code 39 text, a barcode running off the --onto
image, a caption that covers every row of bars; and once per run, with --dpi or a length
in a unit of print, a width, height or module that whole dots miss by more than half a
module, and modules under 2 dots or under what scanners are built for (EAN-13 0.264 mm,
others 0.19 mm).

Exit status: 0 drawn; 1 the control reported a result code (stderr: CODE DESCRIPTION and
what it means for the text, in the user's language), a check digit was wrong, or a batch
record failed; 2 usage or file error; 3 failed call (overflow, out of memory); a stopped
batch is a file error; 130 or 143 a batch ended by SIGINT or SIGTERM. A failure never
leaves a partial or clobbered file.

Examples:
  qvbarcode -t ean13 -d 400638133393 -c -w -s -o ean.png
  qvbarcode -t ean13 -d 400638133393 -c -w -s --dpi 300 --magnification 100% --quiet-zone std -o ean.pdf
  qvbarcode -t ean13 -d 400638133393 -c -w -s --dpi 203 --module 3px --bar-reduction 1dot --quiet-zone std --explain -o label.png
  qvbarcode -t i2of5 -d 12345678 -w -s --dpi 300 --module 0.508mm --quiet-zone std -o itf.eps
  qvbarcode -t s2of5 -d 1234 -c -w --height 40 -o s25.pbm
  qvbarcode -t code39 -d QVBARCODE -w -s --width 400 -o code39.svg
  qvbarcode -t code39 -d ABC --onto label.png --x 20 --y 10 -o label-coded.png
  qvbarcode -t code39 -d HELLO --format svg -o - > hello.svg
  printf 'SKU,EAN\nA-1,4006381333931\n' | qvbarcode --batch - --text-column EAN -t ean13 -w -s -o 'labels/{SKU}.png'
  printf 'SKU;EAN\nA-1;400638133393\nA-2;4006381333948\n;\n' | qvbarcode --batch - --text-column EAN -t ean13 --check-digit auto -w -o 'labels/{SKU}.png'
  seq 400638133390 400638133399 | qvbarcode --batch - --from 4 --jobs 2 -t ean13 -c -w -o 'labels/####.png'
  seq 400638133390 400638133399 | qvbarcode --batch - -t ean13 -c -w -s --dpi 300 -o labels.pdf
  qvbarcode -t ean13 -d 400638133393 -c -w -s --dpi 300 --sheet 'Avery 5160' --copies 30 -o sheet.pdf
  seq 400638133390 400638133399 | qvbarcode --batch - -t ean13 -c -w -s --dpi 300 --sheet a4:3x8:63.5x33.9mm:7.21x12.9mm:66.04x33.9mm --copies 3 -o sheets.pdf
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
