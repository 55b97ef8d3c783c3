#pragma once

#include <cstdio>
#include <cstdlib>

namespace qv::fuzz {

// A broken invariant is a finding: report it and abort so libFuzzer keeps the input.
[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "invariant broken at %s:%d: %s\n", file, line, what);
    std::abort();
}

}  // namespace qv::fuzz

#define QV_REQUIRE(condition)                                   \
    do {                                                        \
        if (!(condition)) {                                     \
            ::qv::fuzz::Broken(#condition, __FILE__, __LINE__); \
        }                                                       \
    } while (false)
