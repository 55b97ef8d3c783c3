#include "UsageText.h"

#ifndef QV_VERSION
#define QV_VERSION "unknown"
#endif

namespace qv::cli {

std::string_view UsageText() {
    return "usage: qvbarcode -t TYPE -d TEXT [options] -o FILE\n"
           "       qvbarcode --batch LIST -o PATTERN [options]\n"
           "Try 'qvbarcode --help' for more.\n";
}

std::string_view HelpText() {
    return R"(usage: qvbarcode -t TYPE -d TEXT [options] -o FILE
       qvbarcode --batch LIST -o PATTERN [options]

Draws a one-dimensional barcode and writes it as a picture.

Barcode:
  -t, --type TYPE          i2of5, s2of5, code39, ean13, or a whole number given
                           straight to BarCodeType (an unknown one reports 1100)
  -d, --text, --data TEXT  the text to encode (Text)
  -c, --check-digit        append the modulo-10 check digit (CalculateCheckDigit)
  -s, --show-value         print the text under the bars (ShowValue)
  -w, --background-white, --white
                           white background with a 5-pixel margin (BackgroundWhite)
      --width N            the barcode's width in pixels, the white margins
                           included (BarWidth)
      --height N           its height in pixels (BarHeight)
      --default-size       one pixel per module and 50 pixels high unless --height
                           (BarWidthSource); without it give --width and --height

Output:
  -o, --output FILE        .png, .svg, .pbm or .pgm by its ending, written atomically;
                           - writes to standard output (needs --format)
      --format FORMAT      png, svg, pbm or pgm
      --onto IMAGE.png     draw onto a copy of this PNG instead of an own picture
      --x N, --y N         where on it (PositionX, PositionY), default 0, 0

Batch:
      --batch LIST         one text per line, or CSV whose first line names columns:
                           Text, BarCodeType, BarWidth, BarHeight, BarWidthSource,
                           BackgroundWhite, ShowValue, CalculateCheckDigit
                           (Booleans: True/False, -1/0, 1, yes/no); - reads standard
                           input. The options above are the defaults for every record.
  -o PATTERN               a run of # is the record number: labels/####.png

  -h, --help               this text
  -V, --version            the program's version
      --typelib            the component's type library as interface description text

Exit status: 0 drawn; 1 the control reported a result code (stderr: CODE DESCRIPTION,
in the user's language) or a batch record failed; 2 usage or file error; 3 failed call
(overflow, out of memory). A failure never leaves a partial or clobbered file.

Examples:
  qvbarcode -t ean13 -d 400638133393 -c -w -s -o ean.png
  qvbarcode -t i2of5 -d 12345678 -w -s --default-size -o itf.svg
  qvbarcode -t s2of5 -d 1234 -c -w --height 40 -o s25.pbm
  qvbarcode -t code39 -d QVBARCODE -w -s --width 400 -o code39.png
  qvbarcode -t code39 -d ABC --onto label.png --x 20 --y 10 -o label-coded.png
  qvbarcode -t code39 -d HELLO --format svg -o - > hello.svg
  printf 'Text,ShowValue\n4006381333931,yes\n' | qvbarcode --batch - -t ean13 -w -o labels/####.png
)";
}

std::string_view VersionText() {
    return "qvbarcode " QV_VERSION "\n";
}

}  // namespace qv::cli
