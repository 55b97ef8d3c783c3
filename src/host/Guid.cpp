// SPDX-License-Identifier: MIT
#include <qvbarcode/host/Guid.h>

#include <cstdio>

namespace qv::host {
namespace {

std::string Format(const Guid& g, const char* pattern) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, pattern, static_cast<unsigned>(g.data1),
                  static_cast<unsigned>(g.data2), static_cast<unsigned>(g.data3), g.data4[0],
                  g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6],
                  g.data4[7]);
    return buffer;
}

}  // namespace

std::string ToRegistryForm(const Guid& guid) {
    return Format(guid, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}");
}

std::string ToIdlForm(const Guid& guid) {
    return Format(guid, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x");
}

}  // namespace qv::host
