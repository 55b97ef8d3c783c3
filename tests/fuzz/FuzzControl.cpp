// SPDX-License-Identifier: MIT
// Drives one control through any sequence of property settings, host failures and drawings,
// and checks after every call what the control promises its host.

#include "FuzzHost.h"
#include "support/FixedFont.h"

namespace qv::fuzz {
namespace {

// A float as given, or a modest one.
float ConsumeFloat(ByteReader& in, float modestMax) {
    if (in.Byte() % 4 == 0) return in.Read<float>();
    return static_cast<float>(in.Read<std::uint16_t>()) * modestMax / 65535.0f;
}

// The real font, or one whose measurements the input chooses, however absurd (a control
// on a font of its own draws its sample picture anew, so such fonts come less often).
std::shared_ptr<const surface::Font> ConsumeFont(ByteReader& in) {
    if (in.InRange<int>(0, 3) < 3) return surface::ControlFont();
    const float width = ConsumeFloat(in, 400.0f);
    return std::make_shared<testing::FixedFont>(width, ConsumeFloat(in, 60.0f), 200);
}

class ControlSession {
  public:
    explicit ControlSession(ByteReader& in)
        : in_(in), control_(site_, ConsumeFont(in)), surfaces_(in) {}

    void Run() {
        for (int step = 0; step < 48 && in_.remaining() > 0; ++step) Step(0);
    }

  private:
    // 0 to 9 set a property, 10 to 12 steer the host, 13 resizes it, 14 has it call back in
    // while it processes pending events, 15 to 19 draw.
    void Step(int depth) {
        const int step = in_.InRange<int>(0, 19);
        if (step <= 9) return SetProperty(in_, control_, *site_, step);
        if (step <= 12) return site_->Steer(step - 10, in_);
        if (step == 13) return ResizeHost();
        if (step >= 15) return Draw(step);
        if (depth == 0) {
            site_->duringPendingEvents = [this] {
                ++nestedCalls_;
                Step(1);
            };
        }
    }

    void ResizeHost() {
        const bool outer = in_.Bool();
        const float first = ConsumeFloat(in_, outer ? 60000.0f : 40.0f);
        Fails([&] {
            if (outer) site_->SetOuterSize(first, ConsumeFloat(in_, 60000.0f));
            if (!outer) site_->SetUnitsPerPixel(first);
        });
    }

    // 15 omits the handle; 16 to 19 pass none, a caller's, the own one or a stale one.
    void Draw(int step) {
        const auto kind = static_cast<Surfaces::Kind>(std::max(step - 16, 0));
        surface::SurfaceHandle hdc = surfaces_.Handle(kind, in_, control_);
        const ErrorState errors = ErrorStateOf(control_);
        const int nestedCalls = nestedCalls_;
        std::optional<host::Variant> result;
        Fails([&] { result = step == 15 ? control_.Draw() : control_.Draw(hdc); });
        surfaces_.CheckHostStateBack();
        const bool hostDrew = nestedCalls_ != nestedCalls;
        CheckDrawOutcome(control_, result, errors, site_->Messages(), hostDrew);
        // Where a drawing goes and what the own surface keeps: tests/control.
    }

    ByteReader& in_;
    std::shared_ptr<FuzzSite> site_ = std::make_shared<FuzzSite>();
    control::QvBarCode control_;
    Surfaces surfaces_;
    int nestedCalls_ = 0;
};

}  // namespace
}  // namespace qv::fuzz

QV_FUZZ_SESSIONS(qv::fuzz::ControlSession)
