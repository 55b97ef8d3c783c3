#include "imagefile/GreyBarcodeCode.h"

#include <array>
#include <cstdint>

#include "host/FailedCall.h"

namespace qv::imagefile {

namespace {

// Literal and length symbols 0 to 285, then distance symbols 0 to 29: a sixteenth of the
// count in ISA-L's fastest level's output for 287 captioned EAN-13, Code 39 and 2 of 5
// barcodes of four sizes (96 and 300 dpi), plus one so that every symbol gets a code.
// Remade by bench/train_grey_code.py.
constexpr std::array<std::uint16_t, ISAL_DEF_LIT_LEN_SYMBOLS + ISAL_DEF_DIST_SYMBOLS> kCounts = {
    3457, 476, 352, 53,  85,  74,  85,   74,  88,  56,  53,  74,  40,  41,  49,  39,   38,   43,
    41,   67,  46,  38,  49,  39,  38,   26,  46,  35,  57,  38,  66,  29,  64,  64,   55,   69,
    56,   29,  48,  68,  46,  33,  32,   28,  26,  39,  25,  17,  46,  27,  22,  53,   49,   28,
    37,   52,  38,  29,  36,  27,  35,   23,  28,  33,  54,  31,  30,  51,  29,  23,   12,   22,
    36,   18,  32,  26,  12,  20,  16,   32,  37,  35,  53,  46,  48,  19,  13,  18,   50,   27,
    36,   32,  30,  21,  42,  36,  74,   57,  42,  32,  38,  18,  25,  17,  35,  18,   28,   23,
    55,   10,  19,  33,  20,  16,  4,    26,  29,  21,  25,  14,  37,  42,  35,  19,   25,   12,
    26,   25,  36,  21,  15,  16,  15,   15,  27,  31,  31,  33,  22,  42,  54,  10,   15,   8,
    24,   10,  12,  38,  16,  21,  37,   35,  27,  43,  39,  43,  58,  62,  36,  46,   48,   30,
    33,   44,  40,  22,  39,  13,  20,   32,  23,  50,  32,  51,  35,  22,  39,  20,   32,   26,
    9,    31,  23,  16,  30,  20,  36,   28,  11,  26,  14,  53,  37,  36,  25,  23,   44,   28,
    17,   31,  48,  15,  62,  23,  60,   22,  34,  36,  32,  38,  20,  48,  31,  34,   42,   71,
    38,   46,  36,  49,  33,  45,  50,   56,  54,  38,  56,  48,  67,  56,  24,  32,   37,   46,
    38,   27,  56,  52,  69,  41,  68,   28,  36,  54,  67,  48,  87,  69,  70,  69,   70,   39,
    100,  64,  64,  536, 18,  1,   1131, 289, 408, 278, 452, 250, 160, 368, 184, 190,  108,  247,
    140,  75,  74,  82,  119, 118, 103,  65,  45,  78,  26,  46,  210, 172, 113, 3953, 1709, 73,
    75,   84,  395, 282, 625, 379, 570,  281, 385, 215, 253, 121, 370, 257, 273, 690,  2026, 415,
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
