// Drives the property page as a developer and a host might: edits of every field, focus
// moves, selection changes with random control properties, applies and the final close.
// Checks after every step what the page promises about its status line, the check-digit
// box, the selection of its boxes, what an apply writes and draws, and the closing report.
#include <memory>
#include <utility>

#include "ByteReader.h"
#include "ControlInvariants.h"
#include "FuzzSite.h"
#include "FuzzValues.h"
#include "component/ControlDispatch.h"
#include "propertypage/NumericValue.h"
#include "propertypage/QvBarCodePP.h"
#include "support/FakePageHost.h"

namespace qv::fuzz {
namespace {

using propertypage::CheckBox;
using propertypage::QvBarCodePP;
using propertypage::TextBox;

// The control keeps its own font; the clock stands at the last second of the day.
using FuzzPageHost = testing::FakePageHostOf<FuzzSite>;

bool Complete(QvBarCodePP& page) {
    std::u16string_view text = page.txtText.Text();
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    const bool sized = (propertypage::NumericValueOf(page.txtBarWidth.Text()) > 0 &&
                        propertypage::NumericValueOf(page.txtBarHeight.Text()) > 0) ||
                       page.chkBarWidthSource.Value() == 1;
    return !text.empty() && page.Combo1.ListIndex() >= 0 && sized;
}

void CheckPage(QvBarCodePP& page) {
    const int type = page.Combo1.ListIndex();
    QV_REQUIRE(type >= -1 && type <= 3);
    for (TextBox* box : {&page.txtText, &page.txtBarWidth, &page.txtBarHeight}) {
        QV_REQUIRE(box->SelStart() >= 0 && box->SelLength() >= 0);
        QV_REQUIRE(static_cast<std::size_t>(box->SelStart() + box->SelLength()) <=
                   box->Text().size());
    }
    if (page.LblMsg.Caption() == u".") return;  // nothing has evaluated the page yet
    QV_REQUIRE(page.chkCalculateCheckDigit.Enabled() == (type == 0 || type == 1 || type == 3));
    // Every edit that bears on completeness re-evaluates it, so OKEnabled is never stale.
    QV_REQUIRE(page.OKEnabled() == Complete(page));
}

void SetControlProperties(ByteReader& in, control::QvBarCode& control) {
    control.SetText(ConsumeText(in));
    control.SetBarCodeType(in.Bool() ? in.InRange<std::int32_t>(-1, 4) : ConsumeInt32(in));
    control.SetBarWidth(ConsumeInt32(in));
    control.SetBarHeight(ConsumeInt32(in));
    control.SetBarWidthSource(ConsumeBool(in));
    control.SetBackgroundWhite(ConsumeBool(in));
    control.SetShowValue(ConsumeBool(in));
    control.SetCalculateCheckDigit(ConsumeBool(in));
}

void Apply(QvBarCodePP& page, FuzzPageHost& host) {
    const bool complete = page.OKEnabled();
    const std::int16_t before = page.LastDrawResult();
    const ErrorState state = ErrorStateOf(*host.control);
    try {
        page.ApplyChanges();
    } catch (const host::FailedCall&) {
        // An overflow or a refused service ends the apply; the control's error state stays.
        QV_REQUIRE(ErrorStateOf(*host.control) == state);
        return;
    }
    if (!host.selected) return;
    const control::QvBarCode& control = *host.control;
    QV_REQUIRE(control.Text() == page.txtText.Text());
    QV_REQUIRE(control.BarCodeType() == page.Combo1.ListIndex());
    QV_REQUIRE((control.ShowValue() == -1) == (page.chkShowValue.Value() == 1));
    QV_REQUIRE((control.CalculateCheckDigit() == -1) == (page.chkCalculateCheckDigit.Value() == 1));
    if (!complete) {
        QV_REQUIRE(page.LastDrawResult() == before);
        QV_REQUIRE(ErrorStateOf(control) == state);
        return;
    }
    CheckDrawResult(control, host::Variant::FromInt16(page.LastDrawResult()),
                    host.site->Messages());
}

void Step(ByteReader& in, QvBarCodePP& page, FuzzPageHost& host) {
    TextBox* boxes[] = {&page.txtText, &page.txtBarWidth, &page.txtBarHeight};
    CheckBox* checks[] = {&page.chkBarWidthSource, &page.chkBackgroundWhite, &page.chkShowValue,
                          &page.chkCalculateCheckDigit};
    TextBox& box = *boxes[in.Byte() % 3];
    switch (in.Byte() % 10) {
        case 0:
            box.SetText(ConsumeText(in));
            break;
        case 1:
            box.GotFocus();
            QV_REQUIRE(box.SelStart() == 0 &&
                       static_cast<std::size_t>(box.SelLength()) == box.Text().size());
            break;
        case 2: {
            const int beeps = host.beeps;
            box.LostFocus();
            const bool refuse =
                &box != &page.txtText && propertypage::NumericValueOf(box.Text()) < 0;
            QV_REQUIRE(host.beeps == beeps + (refuse ? 1 : 0));
            break;
        }
        case 3:
            box.Select(ConsumeInt32(in), ConsumeInt32(in));
            break;
        case 4:
            page.Combo1.SetListIndex(ConsumeInt32(in));
            break;
        case 5: {
            CheckBox& check = *checks[in.Byte() % 4];
            const int value = in.InRange<int>(0, 3);
            try {
                check.SetValue(value);
            } catch (const host::FailedCall&) {
                QV_REQUIRE(value == 3);
            }
            break;
        }
        case 6:
            page.AllowOnlyNumbers(in.Bool() ? u"W" : in.Bool() ? u"H" : ConsumeText(in));
            break;
        case 7:
            host.selected = in.Byte() % 8 != 0;
            host.language = FuzzSite::kLanguages[in.Byte() % FuzzSite::kLanguages.size()].name;
            host.site->SelectLanguage(in.Byte());
            {
                // The developer set these in the form; only the page's writes may be refused.
                const bool refuse = std::exchange(host.site->failNotifications, false);
                SetControlProperties(in, *host.control);
                host.site->failNotifications = refuse;
            }
            try {
                page.SelectionChanged();
            } catch (const host::FailedCall&) {
                return;  // a refused property read ends the load
            }
            QV_REQUIRE(page.LanguageCode() == "E" || page.LanguageCode() == "S");
            break;
        case 8:
            Apply(page, host);
            break;
        case 9:
            host.site->failNotifications = in.Byte() % 16 == 0;
            break;
    }
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
        qv::propertypage::QvBarCodePP page(host);
        for (int steps = 0; steps < 64 && in.remaining() > 0; ++steps) Step(in, page, *host);
        lastDraw = page.LastDrawResult();
        host->messageBoxes.clear();
    }
    // Closing reports exactly the last failed drawing, once.
    QV_REQUIRE(host->messageBoxes.size() == (lastDraw != 0 ? 1u : 0u));
    return 0;
}
