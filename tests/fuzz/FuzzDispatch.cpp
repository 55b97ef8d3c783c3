// Calls a control through its dispatch interface as an automation host might: real and
// invented dispatch ids and names, every kind of call, any number of arguments of any type.
// Checks after every call what the interface promises: a failure is a status, never an
// exception, and leaves the control as it was; a success does exactly what the member says.
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ByteReader.h"
#include "ControlInvariants.h"
#include "FuzzSite.h"
#include "FuzzValues.h"
#include "component/ArgumentConversion.h"
#include "component/ControlDispatch.h"
#include "surface/Font.h"
#include "surface/RasterSurface.h"
#include "surface/SurfaceHandles.h"

namespace qv::fuzz {
namespace {

using host::CallResult;
using host::DispatchId;
using host::Member;
using host::MemberKind;
using host::ValueType;
using host::Variant;

constexpr DispatchId kDraw = 0x6003000D;
constexpr DispatchId kErrorFound = 0x68030002;
constexpr DispatchId kErrorDescription = 0x68030001;
// What Draw may change besides drawing: the positions it resets, the module width it
// computes, and the error state.
constexpr std::array<DispatchId, 5> kDrawWrites{0x68030009, 0x68030008, 0x68030006, kErrorFound,
                                                kErrorDescription};

// A text that a number conversion has to look at closely: signs, blanks, fractions on the
// rounding edge, digits far beyond 32 bits, and near misses.
std::u16string ConsumeNumericText(ByteReader& in) {
    static constexpr std::array<std::u16string_view, 14> kEdges{
        u"2147483647", u"2147483648", u"-2147483648", u"-2147483649", u"0.5", u"1.5",  u" -2.5 ",
        u"+7",         u"1e3",        u"0x10",        u".",           u"- 1", u"True", u" fAlSe "};
    if (in.Bool()) return std::u16string(kEdges[in.Byte() % kEdges.size()]);
    static constexpr std::u16string_view kUnits = u"0123456789000000 +-.\t";
    std::u16string seed;
    for (std::size_t i = in.InRange<std::size_t>(0, 12); i > 0 && in.remaining() > 0; --i) {
        seed.push_back(kUnits[in.Byte() % kUnits.size()]);
    }
    // Sometimes a thousand-digit number.
    std::u16string text = seed;
    if (!seed.empty() && in.InRange<int>(0, 7) == 0) {
        for (std::size_t i = in.InRange<std::size_t>(1, 2000 / seed.size()); i > 0; --i) {
            text += seed;
        }
    }
    return text;
}

// Handles a host passes: none, its own surfaces, the control's own, stale or invented ones.
class Handles {
  public:
    explicit Handles(ByteReader& in) {
        for (auto& caller : callers_) {
            const auto width = in.InRange<std::int32_t>(0, 300);
            const auto height = in.InRange<std::int32_t>(0, 120);
            caller = surface::ScopedSurfaceHandle(
                std::make_shared<surface::RasterSurface>(width, height, surface::kWhite));
        }
        stale_ = surface::ScopedSurfaceHandle(
                     std::make_shared<surface::RasterSurface>(1, 1, surface::kWhite))
                     .get();
    }
    std::int32_t Consume(ByteReader& in, const control::QvBarCode& control) const {
        const int pick = in.InRange<int>(0, 5);
        if (pick == 0) return surface::kNoSurface;
        if (pick <= 2) return callers_[in.Bool()].get();
        if (pick == 3) return control.Pic1().hDC();
        return pick == 4 ? stale_ : in.Read<std::int32_t>();
    }

  private:
    std::array<surface::ScopedSurfaceHandle, 2> callers_;
    surface::SurfaceHandle stale_;
};

Variant ConsumeVariant(ByteReader& in, const Handles& handles, const control::QvBarCode& c) {
    const int pick = in.InRange<int>(0, 8);
    if (pick == 0) return Variant();
    if (pick == 1) {
        return Variant::FromInt16(in.Bool() ? in.Read<std::int16_t>()
                                            : in.InRange<std::int16_t>(-3, 4));
    }
    if (pick == 2) return Variant::FromInt32(ConsumeInt32(in));
    if (pick == 3) return Variant::FromInt32(handles.Consume(in, c));
    // A Boolean as a number other than -1 and 0 is stored as it is.
    if (pick == 4) return Variant::FromInt16(ConsumeBool(in));
    if (pick == 5) return Variant::FromBool(in.Bool());
    return Variant::FromText(pick <= 7 ? ConsumeNumericText(in) : ConsumeText(in));
}

// Every property as the interface reads it, by dispatch id.
using Snapshot = std::map<DispatchId, Variant>;

class DispatchSession {
  public:
    explicit DispatchSession(ByteReader& in)
        : in_(in),
          control_(std::make_shared<control::QvBarCode>(site_, Font())),
          dispatch_(control_),
          handles_(in) {}

    void Run() {
        for (int step = 0; step < 48 && in_.remaining() > 0; ++step) Step();
    }

  private:
    static std::shared_ptr<const surface::Font> Font() {
        static const auto font = surface::ControlFont();
        return font;
    }
    const host::InterfaceTable& Table() const { return dispatch_.Interface(); }

    void Step() {
        const int what = in_.InRange<int>(0, 15);
        if (what == 0) {
            site_->failNotifications = in_.InRange<int>(0, 3) == 0;
        } else if (what == 1) {
            site_->failPendingEvents = in_.InRange<int>(0, 7) == 0;
        } else if (what == 2) {
            site_->SelectLanguage(in_.Byte());
        } else {
            Call(what >= 13);
        }
    }

    DispatchId ConsumeId() {
        const auto members = Table().members;
        const int pick = in_.InRange<int>(0, 7);
        if (pick == 0) return in_.Read<DispatchId>();
        if (pick == 1) return component::QvBarCodePPInterface().members[in_.Byte() % 3].id;
        if (pick <= 3) return kDraw;  // the member that does the work
        return members[in_.Byte() % members.size()].id;
    }

    // A member's name as a host may spell it, or a name no member has.
    std::string ConsumeName() {
        std::string name(Table().members[in_.Byte() % Table().members.size()].name);
        const int pick = in_.InRange<int>(0, 5);
        if (pick == 0) return name + " ";
        if (pick == 1) return std::string(in_.InRange<std::size_t>(0, 3), 'X');
        if (pick == 2) return std::string(component::QvBarCodePPInterface().members[0].name);
        for (char& c : name) {
            if (in_.Bool()) c = static_cast<char>(c ^ 0x20);  // flips the letter case
        }
        return name;
    }

    Snapshot Properties() {
        Snapshot properties;
        for (const Member& m : Table().members) {
            if (m.kind != MemberKind::Get) continue;
            CallResult read = dispatch_.Invoke(m.id, MemberKind::Get, {});
            QV_REQUIRE(read.ok());
            QV_REQUIRE(read.value.type() == TypeOf(m.type));
            properties[m.id] = std::move(read.value);
        }
        return properties;
    }

    static Variant::Type TypeOf(ValueType type) {
        return type == ValueType::String    ? Variant::Type::Text
               : type == ValueType::Boolean ? Variant::Type::Bool
                                            : Variant::Type::Int32;
    }

    void Call(bool byName) {
        const auto kinds = std::array{MemberKind::Get, MemberKind::Let, MemberKind::Method};
        std::optional<std::string> name;
        std::optional<DispatchId> id;
        if (byName) {
            name = ConsumeName();
            id = host::FindDispatchId(Table(), *name);
        } else {
            id = ConsumeId();
        }
        const MemberKind kind = kinds[in_.Byte() % kinds.size()];
        // Mostly the count the member takes, sometimes one more or less.
        const int countPick = in_.InRange<int>(0, 7);
        const std::size_t count = countPick < 6    ? (kind == MemberKind::Let ? 1 : countPick % 2)
                                  : countPick == 6 ? 0
                                                   : 2;
        std::vector<Variant> arguments(count);
        for (Variant& argument : arguments) argument = ConsumeVariant(in_, handles_, *control_);

        const Snapshot before = Properties();
        const std::vector<Variant> given = arguments;
        const bool notificationsFail = site_->failNotifications;
        const CallResult result = name ? dispatch_.InvokeByName(*name, kind, arguments)
                                       : dispatch_.Invoke(*id, kind, arguments);
        CheckErrorStateIsConsistent(*control_);
        const Snapshot after = Properties();

        const Member* member = id ? Resolve(*id, kind, arguments.size()) : nullptr;
        if (!result.ok()) {
            QV_REQUIRE(!result.reason || result.status == host::StatusOf(*result.reason));
            QV_REQUIRE(arguments ==
                       given);  // by-reference arguments are written back only on success
        }
        if (!id) {
            QV_REQUIRE(result.status == host::kUnknownName && after == before);
        } else if (member == nullptr) {
            QV_REQUIRE(result.status == host::kMemberNotFound && after == before);
        } else if (!CountFits(*member, arguments.size())) {
            QV_REQUIRE(!result.ok() && after == before);
        } else if (member->kind == MemberKind::Get) {
            QV_REQUIRE(result.ok() && result.value == before.at(member->id) && after == before);
        } else if (member->kind == MemberKind::Let) {
            CheckLet(*member, given[0], result, notificationsFail, before, after);
        } else {
            CheckDraw(given, arguments, result, before, after);
        }
    }

    // Which member a call reaches: a method call without arguments on a property reads it.
    const Member* Resolve(DispatchId id, MemberKind kind, std::size_t count) const {
        if (const Member* m = host::FindMember(Table(), id, kind)) return m;
        return kind == MemberKind::Method && count == 0
                   ? host::FindMember(Table(), id, MemberKind::Get)
                   : nullptr;
    }

    static bool CountFits(const Member& member, std::size_t count) {
        if (member.kind != MemberKind::Method) return count == (member.kind == MemberKind::Let);
        return count <= member.parameters.size();  // Draw's one parameter is optional
    }

    // The value converted as the member's type asks, or nothing when it has no such meaning.
    static std::optional<Variant> Converted(ValueType type, const Variant& value) {
        try {
            if (type == ValueType::String) return Variant::FromText(component::ToText(value));
            if (type == ValueType::Boolean) {
                return Variant::FromAutomationBool(component::ToAutomationBool(value));
            }
            return Variant::FromInt32(component::ToWholeNumber(value));
        } catch (const host::FailedCall&) {
            return std::nullopt;
        }
    }

    // A value that converts is stored, also when the host then refuses the notification;
    // one that does not stores nothing. No other property moves, the error state included.
    static void CheckLet(const Member& member, const Variant& value, const CallResult& result,
                         bool notificationsFail, const Snapshot& before, const Snapshot& after) {
        const std::optional<Variant> stored = Converted(member.type, value);
        QV_REQUIRE(result.ok() == (stored && !notificationsFail));
        Snapshot expected = before;
        if (stored) expected[member.id] = *stored;
        QV_REQUIRE(after == expected);
    }

    void CheckDraw(const std::vector<Variant>& given, const std::vector<Variant>& arguments,
                   const CallResult& result, const Snapshot& before, const Snapshot& after) {
        const auto untouched = [](Snapshot properties) {
            for (DispatchId written : kDrawWrites) properties.erase(written);
            return properties;
        };
        QV_REQUIRE(untouched(after) == untouched(before));
        if (!result.ok()) {
            // A failed call leaves the error state as it was.
            const ErrorState kept{
                before.at(kErrorFound).AsBool() ? control::kTrue : control::kFalse,
                before.at(kErrorDescription).AsText()};
            QV_REQUIRE(ErrorStateOf(*control_) == kept);
            return;
        }
        CheckDrawResult(*control_, result.value, site_->Messages());
        // A given handle comes back as a 32-bit integer: the surface drawn on.
        if (!given.empty() && !given[0].IsEmpty()) {
            QV_REQUIRE(arguments[0].type() == Variant::Type::Int32);
        }
    }

    ByteReader& in_;
    std::shared_ptr<FuzzSite> site_ = std::make_shared<FuzzSite>();
    std::shared_ptr<control::QvBarCode> control_;
    component::ControlDispatch dispatch_;
    Handles handles_;
};

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::ByteReader in(data, size);
    qv::fuzz::DispatchSession(in).Run();
    return 0;
}
