// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace qv::imagefile {

// When a PDF or EPS document says it was made. Not the clock, so that the same drawing gives
// the same bytes: the time SOURCE_DATE_EPOCH gives (whole seconds since 1970-01-01 00:00:00
// UTC, as reproducible builds set it), else that moment itself.

// The seconds sourceDateEpoch (the variable's value, or null) gives: a decimal number from 0
// to the end of the year 9999; anything else gives 0.
std::int64_t DocumentSeconds(const char* sourceDateEpoch);

// As cairo takes PDF metadata, "2024-02-29T13:05:09Z".
std::string PdfDate(std::int64_t seconds);
// As PostScript's %%CreationDate shows it, C's asctime in UTC: "Thu Feb 29 13:05:09 2024".
std::string PostScriptDate(std::int64_t seconds);

}  // namespace qv::imagefile
