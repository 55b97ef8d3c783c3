// SPDX-License-Identifier: MIT
#include <qvbarcode/host/MemberTable.h>

#include <algorithm>
#include <cctype>

namespace qv::host {

bool NamesMatch(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

const Member* FindMember(const InterfaceTable& table, DispatchId id, MemberKind kind) {
    const auto found = std::ranges::find_if(
        table.members, [&](const Member& m) { return m.id == id && m.kind == kind; });
    return found == table.members.end() ? nullptr : &*found;
}

std::optional<DispatchId> FindDispatchId(const InterfaceTable& table, std::string_view name) {
    const auto found = std::ranges::find_if(
        table.members, [&](const Member& m) { return NamesMatch(m.name, name); });
    if (found == table.members.end()) return std::nullopt;
    return found->id;
}

}  // namespace qv::host
