// SPDX-License-Identifier: MIT
#pragma once

#include <isa-l/igzip_lib.h>

namespace qv::imagefile {

// A Huffman code for the filtered rows of a barcode with an antialiased caption, made once
// from how often each symbol occurred in such pictures. Building a code for each picture
// costs three times as much as compressing it; this one makes them about 5% larger.
// Every symbol has a code, so any data can be written with it.
const isal_hufftables& GreyBarcodeCode();

}  // namespace qv::imagefile
