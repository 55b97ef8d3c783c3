// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

namespace qv::symbology {

// The five elements of each digit, narrow (N) or wide (W), indexed by the digit's value.
// Interleaved 2 of 5 reads them as bars and as spaces, Standard 2 of 5 as bars only.
inline constexpr std::array<std::string_view, 10> kTwoOfFivePatterns = {
    "NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW", "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN",
};

inline constexpr int kTwoOfFiveElements = 5;

namespace two_of_five_detail {

constexpr bool HasTwoWideOfFive(std::string_view pattern) {
    int wide = 0;
    for (const char element : pattern) {
        if (element == 'W') {
            ++wide;
        } else if (element != 'N') {
            return false;
        }
    }
    return pattern.size() == kTwoOfFiveElements && wide == 2;
}

constexpr bool AllPatternsValidAndDistinct() {
    for (std::size_t i = 0; i < kTwoOfFivePatterns.size(); ++i) {
        if (!HasTwoWideOfFive(kTwoOfFivePatterns[i])) {
            return false;
        }
        for (std::size_t j = i + 1; j < kTwoOfFivePatterns.size(); ++j) {
            if (kTwoOfFivePatterns[i] == kTwoOfFivePatterns[j]) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace two_of_five_detail

static_assert(two_of_five_detail::AllPatternsValidAndDistinct(),
              "every digit needs its own pattern of two wide and three narrow elements");

// Whether element (0 to 4) of the digit's pattern is wide.
constexpr bool IsWideElement(int digit, int element) {
    return kTwoOfFivePatterns[static_cast<std::size_t>(digit)][static_cast<std::size_t>(element)] ==
           'W';
}

}  // namespace qv::symbology
