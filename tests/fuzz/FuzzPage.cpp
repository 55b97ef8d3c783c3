// SPDX-License-Identifier: MIT
// Drives the property page as a developer and a host might: edits of every field, focus
// moves, selection changes with random control properties, applies and the final close.
// Checks after every step what the page promises about its status line, the check-digit
// box, the selection of its boxes, what an apply draws, and the closing report.

#include <qvbarcode/propertypage/NumericValue.h>
#include <qvbarcode/propertypage/QvBarCodePP.h>
#include "FuzzHost.h"
#include "support/FakePageHost.h"

namespace qv::fuzz {
namespace {

using propertypage::NumericValueOf;
using propertypage::QvBarCodePP;

// The control keeps its own font; the clock stands at the last second of the day.
using FuzzPageHost = testing::FakePageHostOf<FuzzSite>;

void CheckPage(QvBarCodePP& page) {
    const int type = page.Combo1.ListIndex();
    QV_REQUIRE(type >= -1 && type <= 3);
    for (const auto* box : {&page.txtText, &page.txtBarWidth, &page.txtBarHeight}) {
        QV_REQUIRE(box->SelStart() >= 0 && box->SelLength() >= 0);
        QV_REQUIRE(static_cast<std::size_t>(box->SelStart() + box->SelLength()) <=
                   box->Text().size());
    }
    if (page.LblMsg.Caption() == u".") return;  // nothing has evaluated the page yet
    QV_REQUIRE(page.chkCalculateCheckDigit.Enabled() == (type == 0 || type == 1 || type == 3));
    // Every edit that bears on completeness re-evaluates it, so OKEnabled is never stale.
    const bool text = page.txtText.Text().find_first_not_of(u' ') != std::u16string::npos;
    const bool sized = (NumericValueOf(page.txtBarWidth.Text()) > 0 &&
                        NumericValueOf(page.txtBarHeight.Text()) > 0) ||
                       page.chkBarWidthSource.Value() == 1;
    QV_REQUIRE(page.OKEnabled() == (text && type >= 0 && sized));
}

void Apply(QvBarCodePP& page, FuzzPageHost& host) {
    const bool complete = page.OKEnabled();
    const std::int16_t before = page.LastDrawResult();
    const control::QvBarCode& control = *host.control;
    const ErrorState state = ErrorStateOf(control);
    if (Fails([&] { page.ApplyChanges(); })) {
        // An overflow or a refused service ends the apply; the control's error state stays.
        CheckDrawOutcome(control, std::nullopt, state, host.site->Messages());
        return;
    }
    if (!host.selected) return;  // what an apply writes: tests/propertypage
    if (complete) {
        CheckDrawOutcome(control, host::Variant::FromInt16(page.LastDrawResult()), state,
                         host.site->Messages());
    } else {
        QV_REQUIRE(page.LastDrawResult() == before && ErrorStateOf(control) == state);
    }
}

// The developer set the control's properties in the form (only the page's writes may be
// refused), then selects it for the page. False when a refused property read ended the load.
bool Select(ByteReader& in, QvBarCodePP& page, FuzzPageHost& host) {
    host.selected = in.Byte() % 8 != 0;
    host.language = FuzzSite::kLanguages[in.Byte() % FuzzSite::kLanguages.size()];
    host.site->Steer(2, in);
    const bool refuse = std::exchange(host.site->failNotifications, false);
    for (int property = 0; property < 10; ++property) {
        SetProperty(in, *host.control, *host.site, property);
    }
    host.site->failNotifications = refuse;
    if (Fails([&] { page.SelectionChanged(); })) return false;
    QV_REQUIRE(page.LanguageCode() == "E" || page.LanguageCode() == "S");
    return true;
}

void Step(ByteReader& in, QvBarCodePP& page, FuzzPageHost& host) {
    auto& box = *std::array{&page.txtText, &page.txtBarWidth, &page.txtBarHeight}[in.Byte() % 3];
    const int step = in.Byte() % 10;
    if (step == 0) {
        // Heights of two characters at most, so that applies stay cheap (see ConsumeHeight);
        // the width box reads numbers the same way.
        std::u16string text = ConsumeText(in);
        if (&box == &page.txtBarHeight) text.resize(std::min<std::size_t>(text.size(), 2));
        box.SetText(std::move(text));
    }
    if (step == 1) {
        box.GotFocus();
        QV_REQUIRE(box.SelStart() == 0 &&
                   static_cast<std::size_t>(box.SelLength()) == box.Text().size());
    }
    if (step == 2) {
        const int beeps = host.beeps;
        box.LostFocus();
        const bool refused = &box != &page.txtText && NumericValueOf(box.Text()) < 0;
        QV_REQUIRE(host.beeps == beeps + (refused ? 1 : 0));
    }
    if (step == 3) {
        const std::int32_t start = ConsumeInt32(in);
        box.Select(start, ConsumeInt32(in));
    }
    if (step == 4) page.Combo1.SetListIndex(ConsumeInt32(in));
    if (step == 5) {
        auto& check = *std::array{&page.chkBarWidthSource, &page.chkBackgroundWhite,
                                  &page.chkShowValue, &page.chkCalculateCheckDigit}[in.Byte() % 4];
        const int value = in.InRange<int>(0, 3);
        QV_REQUIRE(!Fails([&] { check.SetValue(value); }) || value == 3);
    }
    if (step == 6) page.AllowOnlyNumbers(in.Bool() ? u"W" : in.Bool() ? u"H" : ConsumeText(in));
    if (step == 7 && !Select(in, page, host)) return;
    if (step == 8) Apply(page, host);
    if (step == 9) host.site->Steer(in.Byte() % 2, in);
    CheckPage(page);
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv::fuzz;
    ByteReader in(data, size);
    auto host = std::make_shared<FuzzPageHost>(nullptr);
    host->time = {23, 59, 59};
    std::int16_t lastDraw = 0;
    {
        QvBarCodePP page(host);
        for (int steps = 0; steps < 64 && in.remaining() > 0; ++steps) Step(in, page, *host);
        lastDraw = page.LastDrawResult();
        host->messageBoxes.clear();
    }
    // Closing reports exactly the last failed drawing, once.
    QV_REQUIRE(host->messageBoxes.size() == (lastDraw != 0 ? 1u : 0u));
    return 0;
}
