// SPDX-License-Identifier: MIT
#include <qvbarcode/imagefile/DocumentDate.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace qv::imagefile {

namespace {

// 9999-12-31 23:59:59 UTC: PDF dates have four digits of year.
constexpr std::int64_t kLatestSeconds = 253402300799;

struct Civil {
    int year, month, day, weekday, hour, minute, second;
};

Civil ToCivil(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds{seconds}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    return {static_cast<int>(date.year()),
            static_cast<int>(unsigned{date.month()}),
            static_cast<int>(unsigned{date.day()}),
            static_cast<int>(weekday{day}.c_encoding()),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<int>(clock.seconds().count())};
}

}  // namespace

std::int64_t DocumentSeconds(const char* sourceDateEpoch) {
    if (sourceDateEpoch == nullptr) return 0;
    const char* end = sourceDateEpoch + std::strlen(sourceDateEpoch);
    std::int64_t seconds = 0;
    const auto [stop, error] = std::from_chars(sourceDateEpoch, end, seconds);
    if (error != std::errc{} || stop != end || stop == sourceDateEpoch || seconds < 0 ||
        seconds > kLatestSeconds) {
        return 0;
    }
    return seconds;
}

std::string PdfDate(std::int64_t seconds) {
    const Civil c = ToCivil(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", c.year, c.month, c.day,
                  c.hour, c.minute, c.second);
    return text;
}

std::string PostScriptDate(std::int64_t seconds) {
    // English names whatever the locale, as asctime's.
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const Civil c = ToCivil(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", kDays[c.weekday],
                  kMonths[c.month - 1], c.day, c.hour, c.minute, c.second, c.year);
    return text;
}

}  // namespace qv::imagefile
