// SPDX-License-Identifier: MIT
// What the page does: loading a selected control, keeping the status line, applying the
// fields back and reporting a failed drawing.
#include <cstdio>
#include <string>

#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/host/TextTrim.h>
#include <qvbarcode/host/UserLanguage.h>
#include <qvbarcode/propertypage/NumericValue.h>
#include <qvbarcode/propertypage/PageCaptions.h>
#include <qvbarcode/propertypage/QvBarCodePP.h>
#include <qvbarcode/symbology/Symbologies.h>

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

template <typename... Kinds>
struct ForEachKind : Kinds... {
    using Kinds::operator()...;
};
template <typename... Kinds>
ForEachKind(Kinds...) -> ForEachKind<Kinds...>;

using control::Property;
constexpr PropertyField kPropertyFields[] = {
    {Property::CalculateCheckDigit, &QvBarCodePP::chkCalculateCheckDigit},
    {Property::ShowValue, &QvBarCodePP::chkShowValue},
    {Property::BackgroundWhite, &QvBarCodePP::chkBackgroundWhite},
    {Property::BarWidthSource, &QvBarCodePP::chkBarWidthSource},
    {Property::BarWidth, &QvBarCodePP::txtBarWidth},
    {Property::BarHeight, &QvBarCodePP::txtBarHeight},
    {Property::Text, &QvBarCodePP::txtText},
    {Property::BarCodeType, &QvBarCodePP::Combo1},
};

}  // namespace

std::span<const PropertyField> PropertyFields() {
    return kPropertyFields;
}

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
    owner_.Check();
    Label1.SetCaption(std::u16string(AboutText()));
    if (host::DispatchObject* control = host_->FirstSelectedControl()) {
        LoadFields(*control);
    }
    AllowOnlyNumbers(u"W");
    AllowOnlyNumbers(u"H");
    Translate();
    EnableDisableOK();
}

// A check box takes the property's value and 1, so True (-1) ticks it.
void QvBarCodePP::LoadFields(host::DispatchObject& control) {
    for (const PropertyField& edit : PropertyFields()) {
        const host::Variant value = Read(control, control::NameOf(edit.property));
        std::visit(
            ForEachKind{
                [&](CheckBox QvBarCodePP::*box) { (this->*box).SetValue(value.AsInt32() & 1); },
                [&](TextBox QvBarCodePP::*box) {
                    const bool text = value.type() == host::Variant::Type::Text;
                    (this->*box).SetText(text ? value.AsText() : Decimal(value.AsInt32()));
                },
                // A type the list cannot show selects no entry.
                [&](DropDownList QvBarCodePP::*list) {
                    (this->*list).SetListIndex(value.AsInt32());
                },
            },
            edit.field);
    }
}

void QvBarCodePP::EnableDisableOK() {
    owner_.Check();
    const int type = Combo1.ListIndex();
    const symbology::Symbology* symbology = symbology::FindSymbology(type);
    chkCalculateCheckDigit.SetEnabled(symbology && symbology->takesCheckDigit);

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
    owner_.Check();
    TextBox* box = xFlag == u"W" ? &txtBarWidth : xFlag == u"H" ? &txtBarHeight : nullptr;
    if (box == nullptr) return;
    box->SetStyle(box->Style() | kNumbersOnlyStyle);
    box->Refresh();
}

void QvBarCodePP::Translate() {
    owner_.Check();
    languageCode_.assign(1, host::IsSpanish(host_->UserLanguageName()) ? 'S' : 'E');
    SetCaptions(*this, languageCode_);
}

void QvBarCodePP::ApplyChanges() {
    owner_.Check();
    host::DispatchObject* control = host_->FirstSelectedControl();
    if (control == nullptr) return;
    WriteFields(*control);
    if (!okEnabled_) return;

    lastDrawResult_ = host::ValueOrThrow(control->Call("Draw")).AsInt16();
    if (lastDrawResult_ == 0) return;
    LblMsg.SetCaption(
        ClockText(host_->CurrentTime()) + u" ERROR: " + Decimal(lastDrawResult_) + u"  " +
        Read(*control, control::NameOf(control::Property::ErrorDescription)).AsText());
}

void QvBarCodePP::WriteFields(host::DispatchObject& control) {
    using host::Variant;
    for (const PropertyField& edit : PropertyFields()) {
        const std::string_view name = control::NameOf(edit.property);
        std::visit(
            ForEachKind{
                [&](CheckBox QvBarCodePP::*box) {
                    Write(control, name, Variant::FromBool((this->*box).Ticked()));
                },
                [&](TextBox QvBarCodePP::*box) {
                    const std::u16string& text = (this->*box).Text();
                    if (control::Row(edit.property).type == host::ValueType::String) {
                        Write(control, name, Variant::FromText(text));
                    } else {
                        WriteSize(control, name, text);
                    }
                },
                [&](DropDownList QvBarCodePP::*list) {
                    Write(control, name,
                          Variant::FromInt16(static_cast<std::int16_t>((this->*list).ListIndex())));
                },
            },
            edit.field);
    }
}

void QvBarCodePP::Terminate() {
    owner_.Check();
    if (terminated_) return;
    terminated_ = true;
    if (lastDrawResult_ == 0) return;
    std::u16string text = u"ERROR: " + Decimal(lastDrawResult_) + u"\r\n";
    if (host::DispatchObject* control = host_->FirstSelectedControl()) {
        text += Read(*control, control::NameOf(control::Property::ErrorDescription)).AsText();
    }
    host_->ShowMessageBox(text, kCriticalOkMessageBox);
}

}  // namespace qv::propertypage
