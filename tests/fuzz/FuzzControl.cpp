// Drives one control through any sequence of property settings, host failures and drawings,
// and checks after every call what the control promises its host.
#include <array>
#include <memory>
#include <optional>

#include "ByteReader.h"
#include "ControlInvariants.h"
#include "CountingSurface.h"
#include "FuzzSite.h"
#include "FuzzValues.h"
#include "control/QvBarCode.h"
#include "host/FailedCall.h"
#include "support/FixedFont.h"
#include "surface/SurfaceHandles.h"

namespace qv::fuzz {
namespace {

using control::QvBarCode;
using host::FailedCall;
using surface::SurfaceHandle;

// The real font, or one whose measurements the input chooses, however absurd.
std::shared_ptr<const surface::Font> ConsumeFont(ByteReader& in) {
    static const auto real = surface::ControlFont();
    if (in.InRange<int>(0, 3) < 2) return real;
    const float width = ConsumeFloat(in, 400.0f);
    return std::make_shared<testing::FixedFont>(width, ConsumeFloat(in, 60.0f), 200);
}

struct CallerSurface {
    explicit CallerSurface(ByteReader& in) : surface(Consume(in)) {}
    static std::shared_ptr<CountingSurface> Consume(ByteReader& in) {
        const auto width = in.InRange<std::int32_t>(0, 400);
        const auto height = in.InRange<std::int32_t>(0, 200);
        const auto background = in.Read<std::uint32_t>() & 0xFFFFFF;
        return std::make_shared<CountingSurface>(
            width, height, background, in.Bool() ? surface::kTransparent : surface::kOpaque);
    }
    std::shared_ptr<CountingSurface> surface;
    surface::ScopedSurfaceHandle handle{surface};
};

enum class Target { OwnOmitted, OwnMinusOne, Caller, OwnHandleAsCaller, AnyHandle };

class ControlSession {
  public:
    explicit ControlSession(ByteReader& in)
        : in_(in),
          control_(site_, ConsumeFont(in)),
          callers_{CallerSurface(in), CallerSurface(in)} {}

    void Run() {
        StartFromPreset();
        for (int step = 0; step < 48 && in_.remaining() > 0; ++step) Step(0);
    }

  private:
    // Most inputs start from a drawable setting, so few bytes reach the drawing code.
    void StartFromPreset() {
        static constexpr std::array<std::u16string_view, 6> kTexts{
            u"1234567890", u"12345678901", u"400638133393", u"CODE 39", u" 12 ", u"*A*"};
        const std::uint8_t preset = in_.Byte();
        if (preset < 32) return;
        control_.SetText(std::u16string(kTexts[preset % kTexts.size()]));
        control_.SetBarCodeType((preset >> 3) % 4);
        control_.SetBarWidth(preset & 1 ? 300 : 120);
        control_.SetBarHeight(60);
        control_.SetShowValue(preset & 2 ? control::kTrue : control::kFalse);
        control_.SetBackgroundWhite(preset & 4 ? control::kTrue : control::kFalse);
    }

    void Step(int depth) {
        using Int32Property =
            std::pair<void (QvBarCode::*)(std::int32_t), std::int32_t (QvBarCode::*)() const>;
        using BoolProperty = std::pair<void (QvBarCode::*)(control::AutomationBool),
                                       control::AutomationBool (QvBarCode::*)() const>;
        static constexpr std::array<Int32Property, 4> kInt32s{{
            {&QvBarCode::SetPositionX, &QvBarCode::PositionX},
            {&QvBarCode::SetPositionY, &QvBarCode::PositionY},
            {&QvBarCode::SetBarHeight, &QvBarCode::BarHeight},
            {&QvBarCode::SetBarWidth, &QvBarCode::BarWidth},
        }};
        static constexpr std::array<BoolProperty, 4> kBools{{
            {&QvBarCode::SetBarWidthSource, &QvBarCode::BarWidthSource},
            {&QvBarCode::SetBackgroundWhite, &QvBarCode::BackgroundWhite},
            {&QvBarCode::SetShowValue, &QvBarCode::ShowValue},
            {&QvBarCode::SetCalculateCheckDigit, &QvBarCode::CalculateCheckDigit},
        }};
        const int step = in_.InRange<int>(0, 19);
        if (step == 0) {
            SetAndCheck(&QvBarCode::SetText, &QvBarCode::Text, ConsumeText(in_));
        } else if (step == 1) {
            const bool small = in_.Bool();
            SetAndCheck(&QvBarCode::SetBarCodeType, &QvBarCode::BarCodeType,
                        small ? in_.InRange<std::int32_t>(-1, 4) : in_.Read<std::int32_t>());
        } else if (step <= 5) {
            SetAndCheck(kInt32s[step - 2].first, kInt32s[step - 2].second, ConsumeInt32(in_));
        } else if (step <= 9) {
            SetAndCheck(kBools[step - 6].first, kBools[step - 6].second, ConsumeBool(in_));
        } else if (step == 10) {
            site_->failNotifications = in_.InRange<int>(0, 3) == 0;
        } else if (step == 11) {
            site_->failPendingEvents = in_.InRange<int>(0, 7) == 0;
        } else if (step == 12) {
            site_->SelectLanguage(in_.Byte());
        } else if (step == 13) {
            ResizeHost();
        } else if (step == 14 && depth == 0) {
            // The host calls back into the control while it processes pending events.
            site_->duringPendingEvents = [this] {
                ++nestedCalls_;
                Step(1);
            };
        } else if (step == 15 || step == 16) {
            Draw(step == 15 ? Target::OwnOmitted : Target::OwnMinusOne);
        } else if (step == 17 || step == 18) {
            Draw(Target::Caller);
        } else if (step == 19) {
            Draw(in_.Bool() ? Target::OwnHandleAsCaller : Target::AnyHandle);
        }
    }

    // A setter stores even when the host's notification fails, and never touches the error state.
    template <typename Value, typename Getter>
    void SetAndCheck(void (QvBarCode::*setter)(Value), Getter getter, const Value& value) {
        const ErrorState before = ErrorStateOf(control_);
        bool failed = false;
        try {
            (control_.*setter)(value);
        } catch (const FailedCall&) {
            failed = true;
        }
        QV_REQUIRE(failed == site_->failNotifications);
        QV_REQUIRE((control_.*getter)() == value && ErrorStateOf(control_) == before);
    }

    void ResizeHost() {
        try {
            if (in_.Bool()) {
                const float width = ConsumeFloat(in_, 60000.0f);
                site_->SetOuterSize(width, ConsumeFloat(in_, 60000.0f));
            } else {
                site_->SetUnitsPerPixel(ConsumeFloat(in_, 40.0f));
            }
        } catch (const FailedCall&) {
        }
    }

    struct Before {
        ErrorState errors;
        std::int32_t positionX, positionY;
        bool visible;
        SurfaceHandle hdc;
        int nestedCalls;
    };

    void Draw(Target target) {
        CountingSurface* caller = nullptr;
        SurfaceHandle hdc = surface::kNoSurface;
        if (target == Target::Caller) {
            CallerSurface& chosen = callers_[in_.InRange<std::size_t>(0, 1)];
            caller = chosen.surface.get();
            hdc = chosen.handle.get();
        } else if (target == Target::OwnHandleAsCaller) {
            hdc = control_.Pic1().hDC();
        } else if (target == Target::AnyHandle) {
            hdc = in_.Read<SurfaceHandle>();
        }
        const Before before{ErrorStateOf(control_),
                            control_.PositionX(),
                            control_.PositionY(),
                            control_.Pic1().Visible(),
                            hdc,
                            nestedCalls_};
        if (caller) caller->BeginDrawing();
        std::optional<host::Variant> result;
        try {
            result = target == Target::OwnOmitted ? control_.Draw() : control_.Draw(hdc);
        } catch (const FailedCall&) {
            // A failed call keeps the error state, unless the host drew meanwhile.
            QV_REQUIRE(nestedCalls_ != before.nestedCalls ||
                       ErrorStateOf(control_) == before.errors);
        }
        if (caller) caller->CheckDrawingLeftNoTrace();
        CheckErrorStateIsConsistent(control_);
        if (result) {
            const std::int16_t code = CheckDrawResult(control_, *result, site_->Messages());
            if (target != Target::OwnOmitted) CheckSurfaceOutcome(code, hdc, before);
        }
    }

    void CheckSurfaceOutcome(std::int16_t code, SurfaceHandle hdc, const Before& before) {
        const auto& pic = control_.Pic1();
        const bool nested = nestedCalls_ != before.nestedCalls;
        const bool positionsKept =
            control_.PositionX() == before.positionX && control_.PositionY() == before.positionY;
        if (code == symbology::kBlankText) {
            // Refused before anything was prepared.
            QV_REQUIRE(hdc == before.hdc && positionsKept && pic.Visible() == before.visible);
        } else if (before.hdc != surface::kNoSurface) {
            QV_REQUIRE(hdc == before.hdc && (nested || (!pic.Visible() && positionsKept)));
        } else {
            QV_REQUIRE(hdc == pic.hDC());
            if (nested) return;
            QV_REQUIRE(pic.Visible() && pic.Left() == 0 && pic.Top() == 0);
            QV_REQUIRE(control_.PositionX() == 0 && control_.PositionY() == 0);
            // The kept drawing is what the surface shows, at the surface's size.
            const auto& picture = pic.Picture();
            QV_REQUIRE((code == symbology::kDrawn) == (picture != nullptr));
            QV_REQUIRE(!picture ||
                       (picture->width() == pic.Width() && picture->height() == pic.Height()));
        }
    }

    ByteReader& in_;
    std::shared_ptr<FuzzSite> site_ = std::make_shared<FuzzSite>();
    QvBarCode control_;
    std::array<CallerSurface, 2> callers_;
    int nestedCalls_ = 0;
};

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::ByteReader in(data, size);
    qv::fuzz::ControlSession(in).Run();
    return 0;
}
