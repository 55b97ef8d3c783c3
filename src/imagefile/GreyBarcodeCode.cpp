// SPDX-License-Identifier: MIT
#include <qvbarcode/imagefile/GreyBarcodeCode.h>

#include <array>
#include <cstdint>

#include <qvbarcode/host/FailedCall.h>

namespace qv::imagefile {

namespace {

// Literal and length symbols 0 to 285, then distance symbols 0 to 29: a sixteenth of how
// often ISA-L's fastest level wrote each for captioned EAN-13, Code 39 and 2 of 5 barcodes of
// four sizes (96 and 300 dpi), plus one so that every symbol gets a code. Remade by
// bench/train_grey_code.py.
constexpr std::array<std::uint16_t, ISAL_DEF_LIT_LEN_SYMBOLS + ISAL_DEF_DIST_SYMBOLS> kCounts = {
    3400, 460, 339, 48,  81,  72,  83,   71,  89,  53,  51,  73,  39,  40,  48,  37,   38,   41,
    37,   65,  46,  37,  48,  39,  38,   25,  42,  35,  56,  38,  65,  27,  62,  65,   52,   66,
    54,   28,  47,  66,  44,  33,  31,   29,  25,  40,  25,  16,  44,  27,  21,  52,   47,   29,
    37,   52,  37,  28,  36,  27,  32,   22,  25,  31,  50,  30,  29,  49,  29,  22,   11,   22,
    37,   17,  32,  25,  12,  20,  15,   33,  34,  34,  49,  46,  45,  19,  12,  17,   48,   27,
    35,   32,  30,  21,  39,  34,  72,   55,  41,  33,  37,  17,  25,  17,  34,  17,   27,   23,
    54,   10,  19,  32,  20,  14,  5,    26,  29,  20,  24,  14,  36,  40,  35,  19,   23,   11,
    25,   25,  35,  22,  15,  15,  14,   15,  28,  30,  30,  33,  19,  42,  52,  11,   15,   8,
    22,   10,  12,  37,  15,  21,  35,   34,  25,  42,  38,  42,  56,  59,  36,  46,   47,   30,
    31,   40,  39,  21,  39,  13,  20,   32,  22,  49,  31,  51,  34,  20,  37,  21,   32,   25,
    9,    30,  23,  15,  30,  20,  37,   27,  11,  27,  13,  51,  35,  33,  23,  23,   42,   27,
    17,   31,  47,  14,  62,  24,  60,   22,  33,  35,  31,  37,  21,  47,  30,  33,   41,   64,
    36,   44,  36,  50,  32,  46,  49,   54,  53,  36,  57,  48,  65,  54,  25,  32,   37,   45,
    37,   26,  54,  52,  68,  38,  67,   26,  34,  51,  65,  47,  83,  65,  70,  66,   69,   37,
    95,   62,  63,  523, 18,  1,   1092, 284, 405, 290, 459, 242, 146, 360, 185, 189,  103,  255,
    143,  78,  69,  80,  115, 115, 96,   64,  50,  80,  28,  42,  212, 173, 109, 3910, 1626, 75,
    78,   83,  373, 282, 612, 389, 573,  265, 398, 206, 263, 111, 357, 268, 282, 675,  2037, 418,
    1,    1,   1,   1,   1,   1,   1,    1,   1,   1,
};

isal_hufftables MakeCode() {
    isal_huff_histogram histogram{};
    for (int i = 0; i < ISAL_DEF_LIT_LEN_SYMBOLS; ++i) histogram.lit_len_histogram[i] = kCounts[i];
    for (int i = 0; i < ISAL_DEF_DIST_SYMBOLS; ++i)
        histogram.dist_histogram[i] = kCounts[ISAL_DEF_LIT_LEN_SYMBOLS + i];
    isal_hufftables code{};
    if (isal_create_hufftables(&code, &histogram) != 0) {
        throw host::FailedCall(host::FailureReason::PlatformFailure, "PNG compression code");
    }
    return code;
}

}  // namespace

const isal_hufftables& GreyBarcodeCode() {
    static const isal_hufftables code = MakeCode();
    return code;
}

}  // namespace qv::imagefile
