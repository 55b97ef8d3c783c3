// SPDX-License-Identifier: MIT
#include <qvbarcode/host/DispatchObject.h>

#include <string>

namespace qv::host {
namespace {

std::size_t RequiredParameters(const Member& member) {
    std::size_t count = 0;
    for (const Parameter& p : member.parameters) {
        if (!p.optional) ++count;
    }
    return count;
}

// A host that asks for a method may mean a property read (automation allows both at once),
// so a method call with no arguments on a property reads it.
const Member* Resolve(const InterfaceTable& table, DispatchId id, MemberKind kind,
                      std::size_t argumentCount) {
    if (const Member* member = FindMember(table, id, kind)) return member;
    if (kind == MemberKind::Method && argumentCount == 0) {
        return FindMember(table, id, MemberKind::Get);
    }
    return nullptr;
}

}  // namespace

CallResult DispatchObject::Invoke(DispatchId id, MemberKind kind,
                                  std::span<Variant> arguments) noexcept {
    return GuardCall([&] {
        owner_.Check();
        const Member* member = Resolve(Interface(), id, kind, arguments.size());
        if (member == nullptr) {
            return CallResult::Failure(kMemberNotFound, "no such member for this kind of call");
        }
        const std::size_t expected = member->kind == MemberKind::Let   ? 1
                                     : member->kind == MemberKind::Get ? 0
                                                                       : member->parameters.size();
        const std::size_t required =
            member->kind == MemberKind::Method ? RequiredParameters(*member) : expected;
        if (arguments.size() > expected) {
            return CallResult::Failure(kBadParameterCount,
                                       std::string(member->name) + ": too many arguments");
        }
        if (arguments.size() < required) {
            return CallResult::Failure(kParameterNotOptional,
                                       std::string(member->name) + ": argument missing");
        }
        return CallResult::Success(Run(*member, arguments));
    });
}

CallResult DispatchObject::InvokeByName(std::string_view name, MemberKind kind,
                                        std::span<Variant> arguments) noexcept {
    return GuardCall([&] {
        const auto id = FindDispatchId(Interface(), name);
        if (!id) {
            return CallResult::Failure(kUnknownName, "unknown member " + std::string(name));
        }
        return Invoke(*id, kind, arguments);
    });
}

CallResult DispatchObject::Get(std::string_view name) noexcept {
    return InvokeByName(name, MemberKind::Get, {});
}

CallResult DispatchObject::Let(std::string_view name, Variant value) noexcept {
    return InvokeByName(name, MemberKind::Let, std::span<Variant>(&value, 1));
}

CallResult DispatchObject::Call(std::string_view name, std::span<Variant> arguments) noexcept {
    return InvokeByName(name, MemberKind::Method, arguments);
}

}  // namespace qv::host
