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
#include "MetricsFont.h"
#include "component/FailedCall.h"
#include "control/QvBarCode.h"
#include "symbology/SurfaceHandles.h"

namespace qv::fuzz {
namespace {

using component::FailedCall;
using component::Variant;
using control::QvBarCode;
using symbology::SurfaceHandle;

std::shared_ptr<const symbology::Font> ConsumeFont(ByteReader& in) {
    switch (in.InRange<int>(0, 3)) {
        case 0:
        case 1: {
            static const auto real = symbology::ControlFont();
            return real;
        }
        default: {
            const float width = ConsumeFloat(in, 400.0f);
            return std::make_shared<MetricsFont>(width, ConsumeFloat(in, 60.0f));
        }
    }
}

struct CallerSurface {
    std::shared_ptr<CountingSurface> surface;
    symbology::ScopedSurfaceHandle handle;
};

CallerSurface ConsumeCallerSurface(ByteReader& in) {
    const auto width = in.InRange<std::int32_t>(0, 400);
    const auto height = in.InRange<std::int32_t>(0, 200);
    const auto background = in.Read<std::uint32_t>() & 0xFFFFFF;
    const int mode = in.Bool() ? symbology::kTransparent : symbology::kOpaque;
    auto surface = std::make_shared<CountingSurface>(width, height, background, mode);
    symbology::ScopedSurfaceHandle handle(surface);
    return {std::move(surface), std::move(handle)};
}

enum class Target { OwnOmitted, OwnMinusOne, Caller, OwnHandleAsCaller, AnyHandle };

class ControlSession {
  public:
    explicit ControlSession(ByteReader& in)
        : in_(in),
          site_(std::make_shared<FuzzSite>()),
          control_(site_, ConsumeFont(in)),
          callers_{ConsumeCallerSurface(in), ConsumeCallerSurface(in)} {}

    void Run() {
        StartFromPreset();
        for (int step = 0; step < 48 && in_.remaining() > 0; ++step) {
            Step(0);
        }
    }

  private:
    // Most inputs start from a drawable setting, so few bytes reach the drawing code.
    void StartFromPreset() {
        static constexpr std::array<std::u16string_view, 6> kTexts{
            u"1234567890", u"12345678901", u"400638133393", u"CODE 39", u" 12 ", u"*A*"};
        const std::uint8_t preset = in_.Byte();
        if (preset < 32) {
            return;
        }
        control_.SetText(std::u16string(kTexts[preset % kTexts.size()]));
        control_.SetBarCodeType((preset >> 3) % 4);
        control_.SetBarWidth(preset & 1 ? 300 : 120);
        control_.SetBarHeight(60);
        control_.SetShowValue(preset & 2 ? control::kTrue : control::kFalse);
        control_.SetBackgroundWhite(preset & 4 ? control::kTrue : control::kFalse);
    }

    void Step(int depth) {
        switch (in_.InRange<int>(0, 19)) {
            case 0:
                SetAndCheck(&QvBarCode::SetText, &QvBarCode::Text, ConsumeText(in_));
                break;
            case 1:
                SetAndCheck(
                    &QvBarCode::SetBarCodeType, &QvBarCode::BarCodeType,
                    in_.Bool() ? in_.InRange<std::int32_t>(-1, 4) : in_.Read<std::int32_t>());
                break;
            case 2:
                SetAndCheck(&QvBarCode::SetPositionX, &QvBarCode::PositionX, ConsumeInt32(in_));
                break;
            case 3:
                SetAndCheck(&QvBarCode::SetPositionY, &QvBarCode::PositionY, ConsumeInt32(in_));
                break;
            case 4:
                SetAndCheck(&QvBarCode::SetBarHeight, &QvBarCode::BarHeight, ConsumeInt32(in_));
                break;
            case 5:
                SetAndCheck(&QvBarCode::SetBarWidth, &QvBarCode::BarWidth, ConsumeInt32(in_));
                break;
            case 6:
                SetAndCheck(&QvBarCode::SetBarWidthSource, &QvBarCode::BarWidthSource,
                            ConsumeBool(in_));
                break;
            case 7:
                SetAndCheck(&QvBarCode::SetBackgroundWhite, &QvBarCode::BackgroundWhite,
                            ConsumeBool(in_));
                break;
            case 8:
                SetAndCheck(&QvBarCode::SetShowValue, &QvBarCode::ShowValue, ConsumeBool(in_));
                break;
            case 9:
                SetAndCheck(&QvBarCode::SetCalculateCheckDigit, &QvBarCode::CalculateCheckDigit,
                            ConsumeBool(in_));
                break;
            case 10:
                site_->failNotifications = in_.InRange<int>(0, 3) == 0;
                break;
            case 11:
                site_->failPendingEvents = in_.InRange<int>(0, 7) == 0;
                break;
            case 12:
                site_->SelectLanguage(in_.Byte());
                break;
            case 13:
                ResizeHost();
                break;
            case 14:
                // The host calls back into the control while it processes pending events.
                if (depth == 0) {
                    site_->duringPendingEvents = [this] {
                        ++nestedCalls_;
                        Step(1);
                    };
                }
                break;
            case 15:
                Draw(Target::OwnOmitted);
                break;
            case 16:
                Draw(Target::OwnMinusOne);
                break;
            case 17:
            case 18:
                Draw(Target::Caller);
                break;
            default:
                Draw(in_.Bool() ? Target::OwnHandleAsCaller : Target::AnyHandle);
                break;
        }
    }

    // A setter stores even when the host's notification fails, and never touches the error state.
    template <typename Value, typename Getter>
    void SetAndCheck(void (QvBarCode::*setter)(Value), Getter getter, Value value) {
        const ErrorState before = ErrorStateOf(control_);
        const Value copy = value;
        try {
            (control_.*setter)(std::move(value));
            QV_REQUIRE(!site_->failNotifications);
        } catch (const FailedCall&) {
            QV_REQUIRE(site_->failNotifications);
        }
        QV_REQUIRE((control_.*getter)() == copy);
        QV_REQUIRE(ErrorStateOf(control_) == before);
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
        std::int32_t positionX;
        std::int32_t positionY;
        bool visible;
        SurfaceHandle hdc;
        int nestedCalls;
    };

    void Draw(Target target) {
        CountingSurface* caller = nullptr;
        SurfaceHandle hdc = symbology::kNoSurface;
        switch (target) {
            case Target::OwnOmitted:
            case Target::OwnMinusOne:
                break;
            case Target::Caller: {
                CallerSurface& chosen = callers_[in_.InRange<std::size_t>(0, 1)];
                caller = chosen.surface.get();
                hdc = chosen.handle.get();
                break;
            }
            case Target::OwnHandleAsCaller:
                hdc = control_.Pic1().hDC();
                break;
            case Target::AnyHandle:
                hdc = in_.Read<SurfaceHandle>();
                break;
        }
        const bool own = hdc == symbology::kNoSurface;
        const Before before{ErrorStateOf(control_),
                            control_.PositionX(),
                            control_.PositionY(),
                            control_.Pic1().Visible(),
                            hdc,
                            nestedCalls_};
        if (caller) {
            caller->BeginDrawing();
        }
        std::optional<Variant> result;
        try {
            result = target == Target::OwnOmitted ? control_.Draw() : control_.Draw(hdc);
        } catch (const FailedCall&) {
            // A failed call keeps the error state, unless the host drew meanwhile.
            if (nestedCalls_ == before.nestedCalls) {
                QV_REQUIRE(ErrorStateOf(control_) == before.errors);
            }
        }
        if (caller) {
            caller->CheckDrawingLeftNoTrace();
        }
        CheckErrorStateIsConsistent(control_);
        if (!result) {
            return;
        }
        const std::int16_t code = CheckDrawResult(control_, *result, site_->Messages());
        if (target == Target::OwnOmitted) {
            return;
        }
        CheckSurfaceOutcome(code, own, hdc, before);
    }

    void CheckSurfaceOutcome(std::int16_t code, bool own, SurfaceHandle hdc, const Before& before) {
        if (code == symbology::kBlankText) {
            // Refused before anything was prepared.
            QV_REQUIRE(hdc == before.hdc);
            QV_REQUIRE(control_.PositionX() == before.positionX);
            QV_REQUIRE(control_.PositionY() == before.positionY);
            QV_REQUIRE(control_.Pic1().Visible() == before.visible);
            return;
        }
        const bool nested = nestedCalls_ != before.nestedCalls;
        if (!own) {
            QV_REQUIRE(hdc == before.hdc);
            if (!nested) {
                QV_REQUIRE(!control_.Pic1().Visible());
                QV_REQUIRE(control_.PositionX() == before.positionX);
                QV_REQUIRE(control_.PositionY() == before.positionY);
            }
            return;
        }
        QV_REQUIRE(hdc == control_.Pic1().hDC());
        if (nested) {
            return;
        }
        QV_REQUIRE(control_.Pic1().Visible());
        QV_REQUIRE(control_.Pic1().Left() == 0 && control_.Pic1().Top() == 0);
        QV_REQUIRE(control_.PositionX() == 0 && control_.PositionY() == 0);
        const auto& picture = control_.Pic1().Picture();
        if (code == symbology::kDrawn) {
            // The kept drawing is what the surface shows, at the surface's size.
            QV_REQUIRE(picture != nullptr);
            QV_REQUIRE(picture->width() == control_.Pic1().Width());
            QV_REQUIRE(picture->height() == control_.Pic1().Height());
        } else {
            QV_REQUIRE(picture == nullptr);
        }
    }

    ByteReader& in_;
    std::shared_ptr<FuzzSite> site_;
    QvBarCode control_;
    std::array<CallerSurface, 2> callers_;
    int nestedCalls_ = 0;
};

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::ByteReader in(data, size);
    qv::fuzz::ControlSession session(in);
    session.Run();
    return 0;
}
