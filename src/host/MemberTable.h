// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include <qvbarcode/host/Guid.h>

namespace qv::host {

using DispatchId = std::int32_t;

// How a member is reached: a property read, a property write, or a method call.
enum class MemberKind { Get, Let, Method };

// The automation types the members of this library take and return.
enum class ValueType { String, Int32, Boolean, EnumBarCodeType, Variant };

struct Parameter {
    std::string_view name;
    ValueType type;
    bool byReference;
    bool output;
    bool optional;
    std::int32_t defaultValue;  // meaningful only when optional
};

// One slot of an interface's table of operations, in slot order.
struct Member {
    std::string_view name;
    MemberKind kind;
    ValueType type;  // of the property, or of a method's result
    DispatchId id;
    std::span<const Parameter> parameters;  // of a method; a Let takes its one value
};

struct InterfaceTable {
    std::string_view name;
    Guid id;
    bool dispatchOnly;  // an event interface: no table of operations, only dispatch
    std::span<const Member> members;
};

// Names of members and classes compare without regard to letter case, as automation hosts
// expect.
bool NamesMatch(std::string_view a, std::string_view b);

// The member of that id and kind, or nothing.
const Member* FindMember(const InterfaceTable& table, DispatchId id, MemberKind kind);
// The id of the member named so; nothing when no member has that name.
std::optional<DispatchId> FindDispatchId(const InterfaceTable& table, std::string_view name);

}  // namespace qv::host
