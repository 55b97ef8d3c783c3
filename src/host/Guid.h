// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qv::host {

// A 128-bit identifier in the component model's layout, so the exported functions can take
// the same bytes a host passes.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, the registry form.
std::string ToRegistryForm(const Guid& guid);
// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", the form interface descriptions use.
std::string ToIdlForm(const Guid& guid);

}  // namespace qv::host
