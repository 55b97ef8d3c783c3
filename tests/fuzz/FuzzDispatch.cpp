// SPDX-License-Identifier: MIT
// Calls a control through its dispatch interface as an automation host might: real and
// invented dispatch ids and names, every kind of call, any number of arguments of any type.
// Checks after every call what the interface promises: a failure is a status, never an
// exception, and leaves the control as it was; a success changes only what the member names.

#include <qvbarcode/component/ControlDispatch.h>
#include "FuzzHost.h"

namespace qv::fuzz {
namespace {

using host::DispatchId;
using host::Member;
using host::MemberKind;
using host::ValueType;
using host::Variant;

// Every property as the interface reads it, by dispatch id.
using Snapshot = std::map<DispatchId, Variant>;

class DispatchSession {
  public:
    explicit DispatchSession(ByteReader& in) : in_(in), surfaces_(in) {}

    void Run() {
        for (int step = 0; step < 48 && in_.remaining() > 0; ++step) {
            const int what = in_.InRange<int>(0, 15);
            if (what <= 2) site_->Steer(what, in_);
            if (what > 2) Call(what >= 13);
        }
    }

  private:
    const host::InterfaceTable& Table() const { return dispatch_.Interface(); }
    const Member& AnyMember() { return Table().members[in_.Byte() % Table().members.size()]; }

    // For BarHeight, numbers as ConsumeHeight gives them, so that drawings stay cheap.
    Variant ConsumeVariant(bool height) {
        const int pick = in_.InRange<int>(0, 6);
        if (pick == 0) return Variant();
        if (height && pick != 3) return Variant::FromInt32(ConsumeHeight(in_));
        if (pick == 1) return Variant::FromInt16(static_cast<std::int16_t>(ConsumeInt32(in_)));
        if (pick == 2) return Variant::FromInt32(ConsumeInt32(in_));
        if (pick == 3) return Variant::FromAutomationBool(ConsumeBool(in_));
        if (pick >= 5) return Variant::FromText(ConsumeText(in_));
        const auto kind = static_cast<Surfaces::Kind>(in_.InRange<int>(0, 3));
        return Variant::FromInt32(surfaces_.Handle(kind, in_, *control_));
    }

    Snapshot Properties() {
        Snapshot properties;
        for (const Member& m : Table().members) {
            if (m.kind != MemberKind::Get) continue;
            host::CallResult read = dispatch_.Invoke(m.id, MemberKind::Get, {});
            const auto type = m.type == ValueType::String    ? Variant::Type::Text
                              : m.type == ValueType::Boolean ? Variant::Type::Bool
                                                             : Variant::Type::Int32;
            QV_REQUIRE(read.ok() && read.value.type() == type);
            properties[m.id] = std::move(read.value);
        }
        return properties;
    }

    void Call(bool byName) {
        std::optional<std::string> name;
        std::optional<DispatchId> id;
        if (byName) {
            // As a host may spell it: in any letter case, or with a blank after it.
            name = AnyMember().name;
            for (char& c : *name) c = static_cast<char>(c ^ (in_.Bool() ? 0x20 : 0));
            if (in_.InRange<int>(0, 5) == 0) *name += ' ';
            id = host::FindDispatchId(Table(), *name);
        } else {
            // Mostly Draw's, the member that does the work.
            const int pick = in_.InRange<int>(0, 7);
            id = pick == 0 ? in_.Read<DispatchId>() : pick <= 3 ? 0x6003000D : AnyMember().id;
        }
        const auto kind = static_cast<MemberKind>(in_.Byte() % 3);
        // Mostly the count the member takes, sometimes one more or less.
        const int countPick = in_.InRange<int>(0, 7);
        const std::size_t count = countPick < 6    ? (kind == MemberKind::Let ? 1 : countPick % 2)
                                  : countPick == 6 ? 0
                                                   : 2;
        std::vector<Variant> arguments(count);
        for (Variant& argument : arguments) argument = ConsumeVariant(id == 0x68030007);

        const std::vector<Variant> given = arguments;
        Snapshot before = Properties();
        const ErrorState errors = ErrorStateOf(*control_);
        const host::CallResult result = name ? dispatch_.InvokeByName(*name, kind, arguments)
                                             : dispatch_.Invoke(*id, kind, arguments);
        surfaces_.CheckHostStateBack();
        Snapshot after = Properties();
        QV_REQUIRE(result.ok() || !result.reason ||
                   result.status == host::StatusOf(*result.reason));
        // By-reference arguments are written back only on success.
        QV_REQUIRE(result.ok() || arguments == given);

        // A method call without arguments on a property reads it; Draw's one is optional.
        const Member* member = id ? host::FindMember(Table(), *id, kind) : nullptr;
        if (id && !member && kind == MemberKind::Method && count == 0) {
            member = host::FindMember(Table(), *id, MemberKind::Get);
        }
        const bool fits = member && (member->kind == MemberKind::Method
                                         ? count <= member->parameters.size()
                                         : count == (member->kind == MemberKind::Let));
        if (!fits) {
            // Nothing reached: a failure that changes nothing, saying so when no member is named.
            QV_REQUIRE(!result.ok() && after == before);
            QV_REQUIRE(member ||
                       result.status == (id ? host::kMemberNotFound : host::kUnknownName));
        } else if (member->kind == MemberKind::Get) {
            QV_REQUIRE(result.ok() && result.value == before.at(member->id) && after == before);
        } else if (member->kind == MemberKind::Let) {
            // No other property moves, the error state included (what is stored, converted
            // or refused: tests/component).
            before.erase(member->id);
            after.erase(member->id);
            QV_REQUIRE(after == before);
        } else {
            // Besides drawing, Draw may change the positions it resets, the module width it
            // computes, and the error state.
            for (DispatchId written :
                 {0x68030009, 0x68030008, 0x68030006, 0x68030002, 0x68030001}) {
                before.erase(written);
                after.erase(written);
            }
            QV_REQUIRE(after == before);
            CheckDrawOutcome(*control_, result.ok() ? std::optional(result.value) : std::nullopt,
                             errors, site_->Messages());
            // A given handle comes back as a 32-bit integer: the surface drawn on.
            QV_REQUIRE(!result.ok() || given.empty() || given[0].IsEmpty() ||
                       arguments[0].type() == Variant::Type::Int32);
        }
    }

    ByteReader& in_;
    std::shared_ptr<FuzzSite> site_ = std::make_shared<FuzzSite>();
    std::shared_ptr<control::QvBarCode> control_ = std::make_shared<control::QvBarCode>(site_);
    component::ControlDispatch dispatch_{control_};
    Surfaces surfaces_;
};

}  // namespace
}  // namespace qv::fuzz

QV_FUZZ_SESSIONS(qv::fuzz::DispatchSession)
