// What the page does: loading a selected control, keeping the status line, applying the
// fields back and reporting a failed drawing.
#include <cstdio>
#include <string>

#include "host/TextConversion.h"
#include "host/TextTrim.h"
#include "host/UserLanguage.h"
#include "propertypage/NumericValue.h"
#include "propertypage/PageCaptions.h"
#include "propertypage/QvBarCodePP.h"

namespace qv::propertypage {
namespace {

constexpr Colour kGreenText = 0x00FF00;
constexpr Colour kRedText = 0x0000FF;

std::u16string Decimal(std::int32_t value) {
    return host::Utf8ToUtf16(std::to_string(value));
}

std::u16string ClockText(const TimeOfDay& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour % 100, time.minute % 100,
                  time.second % 100);
    return host::Utf8ToUtf16(text);
}

void SelectAll(TextBox& box) {
    box.Select(0, static_cast<int>(box.Text().size()));
}

host::Variant Read(host::DispatchObject& control, std::string_view property) {
    return host::ValueOrThrow(control.Get(property));
}

void Write(host::DispatchObject& control, std::string_view property, host::Variant value) {
    host::ValueOrThrow(control.Let(property, std::move(value)));
}

// A size box whose text is no whole number (the empty text included) writes nothing: the
// control keeps its value, and the rest of the page is still applied.
void WriteSize(host::DispatchObject& control, std::string_view property,
               const std::u16string& text) {
    host::CallResult result = control.Let(property, host::Variant::FromText(text));
    if (!result.ok() && result.reason == host::FailureReason::InvalidValue) return;
    host::ValueOrThrow(std::move(result));
}

}  // namespace

void QvBarCodePP::MarkChanged() {
    host_->SetChanged(true);
}

void QvBarCodePP::ConnectNotifications() {
    auto evaluateAndMark = [this] {
        EnableDisableOK();
        MarkChanged();
    };
    auto mark = [this] { MarkChanged(); };
    txtText.OnChange = evaluateAndMark;
    txtBarWidth.OnChange = evaluateAndMark;
    txtBarHeight.OnChange = evaluateAndMark;
    Combo1.OnClick = evaluateAndMark;
    chkBarWidthSource.OnClick = evaluateAndMark;
    chkBackgroundWhite.OnClick = mark;
    chkShowValue.OnClick = mark;
    chkCalculateCheckDigit.OnClick = mark;

    for (TextBox* box : {&txtText, &txtBarWidth, &txtBarHeight}) {
        box->OnGotFocus = [box] { SelectAll(*box); };
    }
    for (TextBox* box : {&txtBarWidth, &txtBarHeight}) {
        box->OnLostFocus = [this, box] {
            if (NumericValueOf(box->Text()) < 0) {
                box->SetFocus();
                host_->Beep();
            }
        };
    }
}

void QvBarCodePP::SelectionChanged() {
    Label1.SetCaption(std::u16string(AboutText()));
    if (host::DispatchObject* control = host_->FirstSelectedControl()) {
        LoadFields(*control);
    }
    AllowOnlyNumbers(u"W");
    AllowOnlyNumbers(u"H");
    Translate();
    EnableDisableOK();
}

void QvBarCodePP::LoadFields(host::DispatchObject& control) {
    auto stateOf = [&](std::string_view property) { return Read(control, property).AsInt32() & 1; };
    chkCalculateCheckDigit.SetValue(stateOf("CalculateCheckDigit"));
    chkShowValue.SetValue(stateOf("ShowValue"));
    chkBackgroundWhite.SetValue(stateOf("BackgroundWhite"));
    chkBarWidthSource.SetValue(stateOf("BarWidthSource"));
    txtBarWidth.SetText(Decimal(Read(control, "BarWidth").AsInt32()));
    txtBarHeight.SetText(Decimal(Read(control, "BarHeight").AsInt32()));
    txtText.SetText(Read(control, "Text").AsText());
    // A type the list cannot show selects no entry.
    Combo1.SetListIndex(Read(control, "BarCodeType").AsInt32());
}

void QvBarCodePP::EnableDisableOK() {
    const int type = Combo1.ListIndex();
    chkCalculateCheckDigit.SetEnabled(type == 0 || type == 1 || type == 3);

    const bool sized =
        (NumericValueOf(txtBarWidth.Text()) > 0 && NumericValueOf(txtBarHeight.Text()) > 0) ||
        chkBarWidthSource.Ticked();
    const bool complete = !host::TrimSpaces(txtText.Text()).empty() && type >= 0 && sized;
    LblMsg.SetCaption(std::u16string(complete ? CompleteMessage(languageCode_)
                                              : IncompleteMessage(languageCode_)));
    LblMsg.SetForeColour(complete ? kGreenText : kRedText);
    okEnabled_ = complete;
}

void QvBarCodePP::AllowOnlyNumbers(const std::u16string& xFlag) {
    TextBox* box = xFlag == u"W" ? &txtBarWidth : xFlag == u"H" ? &txtBarHeight : nullptr;
    if (box == nullptr) return;
    box->SetStyle(box->Style() | kNumbersOnlyStyle);
    box->Refresh();
}

void QvBarCodePP::Translate() {
    languageCode_.assign(1, host::IsSpanish(host_->UserLanguageName()) ? 'S' : 'E');
    SetCaptions(*this, languageCode_);
}

void QvBarCodePP::ApplyChanges() {
    host::DispatchObject* control = host_->FirstSelectedControl();
    if (control == nullptr) return;
    WriteFields(*control);
    if (!okEnabled_) return;

    lastDrawResult_ = host::ValueOrThrow(control->Call("Draw")).AsInt16();
    if (lastDrawResult_ == 0) return;
    LblMsg.SetCaption(ClockText(host_->CurrentTime()) + u" ERROR: " + Decimal(lastDrawResult_) +
                      u"  " + Read(*control, "ErrorDescription").AsText());
}

void QvBarCodePP::WriteFields(host::DispatchObject& control) {
    using host::Variant;
    Write(control, "CalculateCheckDigit", Variant::FromBool(chkCalculateCheckDigit.Ticked()));
    Write(control, "ShowValue", Variant::FromBool(chkShowValue.Ticked()));
    Write(control, "BackgroundWhite", Variant::FromBool(chkBackgroundWhite.Ticked()));
    Write(control, "BarWidthSource", Variant::FromBool(chkBarWidthSource.Ticked()));
    WriteSize(control, "BarWidth", txtBarWidth.Text());
    WriteSize(control, "BarHeight", txtBarHeight.Text());
    Write(control, "Text", Variant::FromText(txtText.Text()));
    Write(control, "BarCodeType",
          Variant::FromInt16(static_cast<std::int16_t>(Combo1.ListIndex())));
}

void QvBarCodePP::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    if (lastDrawResult_ == 0) return;
    std::u16string text = u"ERROR: " + Decimal(lastDrawResult_) + u"\r\n";
    if (host::DispatchObject* control = host_->FirstSelectedControl()) {
        text += Read(*control, "ErrorDescription").AsText();
    }
    host_->ShowMessageBox(text, kCriticalOkMessageBox);
}

}  // namespace qv::propertypage
