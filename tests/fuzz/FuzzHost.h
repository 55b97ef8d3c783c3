// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/control/ResultMessages.h>
#include <qvbarcode/host/ControlSite.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/surface/RasterSurface.h>
#include <qvbarcode/surface/SurfaceHandles.h>
#include "FuzzInput.h"
#include "support/FailureOf.h"

namespace qv::fuzz {

// A host that the input steers: its user language, whether its services fail, and work it
// runs when the control lets it process pending events (where a host may call back in).
class FuzzSite final : public host::StandaloneSite {
  public:
    // English names of user languages; only 1 to 3 ask for Spanish messages.
    static constexpr std::array<const char*, 8> kLanguages{
        "English", "Spanish", "SPANISH", "sPaNiSh", "Catalan", "Portuguese", "", "Spanish "};

    // Changes one setting from the input: 0 refused notifications, 1 a failing event queue,
    // 2 the user's language.
    void Steer(int setting, ByteReader& in) {
        if (setting == 0) failNotifications = in.InRange<int>(0, 3) == 0;
        if (setting == 1) failPendingEvents = in.InRange<int>(0, 7) == 0;
        if (setting == 2) language_ = in.Byte() % kLanguages.size();
    }
    control::MessageLanguage Messages() const {
        return language_ >= 1 && language_ <= 3 ? control::MessageLanguage::Spanish
                                                : control::MessageLanguage::English;
    }

    bool failNotifications = false, failPendingEvents = false;
    // Runs once, at the next processing of pending events, then is dropped.
    std::function<void()> duringPendingEvents;

    void PropertyChanged(std::string_view) override { FailIf(failNotifications, "host refused"); }
    void ProcessPendingEvents() override {
        FailIf(failPendingEvents, "event queue failed");
        if (auto work = std::exchange(duringPendingEvents, nullptr)) work();
    }
    std::string EnglishLanguageName() const override { return kLanguages[language_]; }

  private:
    static void FailIf(bool fail, const char* what) {
        if (fail) throw host::FailedCall(host::FailureReason::PlatformFailure, what);
    }
    std::size_t language_ = 0;
};

using ErrorState = std::pair<std::int16_t, std::u16string>;  // ErrorFound, ErrorDescription

inline ErrorState ErrorStateOf(const control::QvBarCode& control) {
    return {control.ErrorFound(), control.ErrorDescription()};
}

// What a Draw must leave, given its result or nothing for a failed call. The error state is
// one a Draw could have left; a failed call keeps the one it found, unless the host drew
// meanwhile; a result is a known code as a 16-bit Variant, with the error state that says
// exactly that code in the user's language (nothing for 0). Returns the code, -1 if none.
inline int CheckDrawOutcome(const control::QvBarCode& control,
                            const std::optional<host::Variant>& result, const ErrorState& before,
                            control::MessageLanguage language, bool hostDrew = false) {
    const bool found = control.ErrorFound() == control::kTrue;
    QV_REQUIRE(found || control.ErrorFound() == control::kFalse);
    QV_REQUIRE(found == !control.ErrorDescription().empty());
    if (!result) {
        QV_REQUIRE(hostDrew || ErrorStateOf(control) == before);
        return -1;
    }
    QV_REQUIRE(result->type() == host::Variant::Type::Int16);
    const std::int16_t code = result->AsInt16();
    QV_REQUIRE(code == 0 || (code >= 1100 && code <= 1104));
    // A known code has a message, so the description is never empty when ErrorFound is True.
    QV_REQUIRE(found == (code > 0));
    QV_REQUIRE(control.ErrorDescription() ==
               (code > 0 ? control::ResultMessage(code, language) : std::u16string_view()));
    return code;
}

// Runs a call that may end as a failed call, and says whether it did.
template <typename Call>
bool Fails(Call&& call) {
    return testing::FailureOf(std::forward<Call>(call)).has_value();
}

// Sets one property to a value from the input: 0 Text, 1 BarCodeType, 2 PositionX,
// 3 PositionY, 4 BarHeight, 5 BarWidth, 6 to 9 the Booleans. A setter stores even when the
// host refuses its notification, and never touches the error state.
inline void SetProperty(ByteReader& in, control::QvBarCode& control, const FuzzSite& site,
                        int property) {
    using C = control::QvBarCode;
    // The control's own (Variant-facing) members, named among their typed twins.
    using Int32Member = std::pair<void (C::*)(std::int32_t), std::int32_t (C::*)() const>;
    using BoolMember =
        std::pair<void (C::*)(control::AutomationBool), control::AutomationBool (C::*)() const>;
    static constexpr std::array<Int32Member, 5> kInt32s{
        Int32Member{&C::SetBarCodeType, &C::BarCodeType},
        {&C::SetPositionX, &C::PositionX},
        {&C::SetPositionY, &C::PositionY},
        {&C::SetBarHeight, &C::BarHeight},
        {&C::SetBarWidth, &C::BarWidth}};
    static constexpr std::array<BoolMember, 4> kBools{
        BoolMember{&C::SetBarWidthSource, &C::BarWidthSource},
        {&C::SetBackgroundWhite, &C::BackgroundWhite},
        {&C::SetShowValue, &C::ShowValue},
        {&C::SetCalculateCheckDigit, &C::CalculateCheckDigit}};
    using TextSetter = void (C::*)(std::u16string);
    const ErrorState before = ErrorStateOf(control);
    const auto set = [&](auto setter, auto getter, const auto& value) {
        QV_REQUIRE(Fails([&] { (control.*setter)(value); }) == site.failNotifications);
        QV_REQUIRE((control.*getter)() == value && ErrorStateOf(control) == before);
    };
    if (property == 0) return set(TextSetter{&C::SetText}, &C::Text, ConsumeText(in));
    if (property == 4) return set(&C::SetBarHeight, &C::BarHeight, ConsumeHeight(in));
    if (property > 5) {
        return set(kBools[property - 6].first, kBools[property - 6].second, ConsumeBool(in));
    }
    set(kInt32s[property - 1].first, kInt32s[property - 1].second, ConsumeInt32(in));
}

// The handles a host passes to Draw: none, one of its two surfaces, the control's own, or a
// stale one (an invented one fails alike). The host's pen and background mode are selected in
// its surfaces and must be current again after any drawing, finished or ended by a failed call;
// where the pixels go is the surfaces' and the control's deterministic tests.
class Surfaces {
  public:
    enum Kind { kNone, kCaller, kOwn, kStale };
    static constexpr surface::Pen kHostPen{0x123456, 1};

    explicit Surfaces(ByteReader& in) {
        for (std::size_t i = 0; i < callers_.size(); ++i) {
            // Small: what matters is the edges, and drawings that cross them.
            const auto width = in.InRange<std::int32_t>(0, 96);
            const auto height = in.InRange<std::int32_t>(0, 48);
            const auto background = in.Read<std::uint32_t>() & 0xFFFFFF;
            callers_[i] = std::make_shared<surface::RasterSurface>(width, height, background);
            modes_[i] = in.Bool() ? surface::kTransparent : surface::kOpaque;
            callers_[i]->SelectPen(kHostPen);
            callers_[i]->SetBkMode(modes_[i]);
            handles_[i] = surface::ScopedSurfaceHandle(callers_[i]);
        }
    }

    surface::SurfaceHandle Handle(Kind kind, ByteReader& in, const control::QvBarCode& control) {
        if (kind == kCaller) return handles_[in.Bool()].get();
        return kind == kOwn ? control.Pic1().hDC() : kind == kStale ? stale_ : surface::kNoSurface;
    }

    // After every call that may draw.
    void CheckHostStateBack() const {
        for (std::size_t i = 0; i < callers_.size(); ++i) {
            QV_REQUIRE(callers_[i]->SelectPen(kHostPen) == kHostPen &&
                       callers_[i]->bkMode() == modes_[i]);
        }
    }

  private:
    std::array<std::shared_ptr<surface::RasterSurface>, 2> callers_;
    std::array<int, 2> modes_{};
    std::array<surface::ScopedSurfaceHandle, 2> handles_;
    const surface::SurfaceHandle stale_ =
        surface::ScopedSurfaceHandle(std::make_shared<surface::RasterSurface>(1, 1, 0)).get();
};

}  // namespace qv::fuzz
