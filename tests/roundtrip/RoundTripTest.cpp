// SPDX-License-Identifier: MIT
// Every encoder's output read back by an independent barcode reader, so a table error that
// the module-string tests would copy is still found.
#include <gtest/gtest.h>

#include <random>

#include "support/RoundTrip.h"

namespace qv::symbology {
namespace {

// Random valid texts of every symbology drawn as a host would and read back, Standard 2 of 5
// as modules against the published table; a failure names the seed that makes its case again.
TEST(RoundTrip, RandomBarcodesAreReadBack) {
    control::QvBarCode control;
    int checked = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        const testing::RoundTripCase c = testing::MakeRoundTripCase([&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        });
        const testing::RoundTripOutcome outcome = testing::DrawAndRead(control, c);
        EXPECT_EQ(outcome.fault, "") << "seed " << seed << ": " << testing::Describe(c);
        checked += outcome.middleRowClear;
    }
    EXPECT_GT(checked, 250);  // a caption covers the middle row of fewer than a third
}

}  // namespace
}  // namespace qv::symbology
