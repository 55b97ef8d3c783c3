// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

#include <qvbarcode/host/MemberTable.h>
#include <qvbarcode/host/ModuleCounts.h>
#include <qvbarcode/host/OwnerThread.h>
#include <qvbarcode/host/Status.h>
#include <qvbarcode/host/Variant.h>

namespace qv::host {

// An object reached through its automation dispatch interface. Calls go by dispatch id or
// by name; arguments are in declaration order and by-reference ones are written back into
// the span. No call lets an exception out: every failure is a status with its reason. The
// object belongs to the thread that made it; a call from another is refused with
// kWrongThread before it reaches the object.
class DispatchObject {
  public:
    virtual ~DispatchObject() = default;
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    virtual const InterfaceTable& Interface() const noexcept = 0;
    const OwnerThread& Owner() const noexcept { return owner_; }

    CallResult Invoke(DispatchId id, MemberKind kind, std::span<Variant> arguments) noexcept;
    CallResult InvokeByName(std::string_view name, MemberKind kind,
                            std::span<Variant> arguments) noexcept;

    // Shorthands for the common cases; they go through Invoke like any host call.
    CallResult Get(std::string_view name) noexcept;
    CallResult Let(std::string_view name, Variant value) noexcept;
    CallResult Call(std::string_view name, std::span<Variant> arguments = {}) noexcept;

  protected:
    DispatchObject() = default;

    // Runs a member found in the table, with its argument count already checked. May throw.
    virtual Variant Run(const Member& member, std::span<Variant> arguments) = 0;

  private:
    CountedObject counted_;
    OwnerThread owner_;
};

}  // namespace qv::host
