// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace qv::cli {

// The short reminder printed after a usage error.
std::string_view UsageText();
// Everything the program takes, with an example per symbology.
std::string_view HelpText();
std::string_view VersionText();

}  // namespace qv::cli
