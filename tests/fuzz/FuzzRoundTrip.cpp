// SPDX-License-Identifier: MIT
// Draws valid barcodes of every symbology as the input chooses them and requires each read
// back exactly whenever its caption leaves the bars' middle row clear.

#include "FuzzInput.h"
#include "support/RoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::ByteReader in(data, size);
    const qv::testing::RoundTripCase c = qv::testing::MakeRoundTripCase(
        [&](int low, int high) { return in.InRange<int>(low, high); });
    // One control for the process, as a host keeps one: a new one paints its sample picture.
    static qv::control::QvBarCode control;
    const std::string fault = qv::testing::DrawAndRead(control, c).fault;
    if (!fault.empty()) {
        std::fprintf(stderr, "%s: %s\n", qv::testing::Describe(c).c_str(), fault.c_str());
        std::abort();
    }
    return 0;
}
