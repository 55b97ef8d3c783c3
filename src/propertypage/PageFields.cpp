// SPDX-License-Identifier: MIT
#include <qvbarcode/propertypage/PageFields.h>

#include <algorithm>

#include <qvbarcode/host/FailedCall.h>

namespace qv::propertypage {

Field::Field(std::string name, FieldKind kind, std::string container, TwipsRect rect,
             std::optional<int> tabIndex)
    : name_(std::move(name)),
      kind_(kind),
      container_(std::move(container)),
      rect_(rect),
      tabIndex_(tabIndex) {}

std::u16string DisplayedCaption(std::u16string_view caption) {
    std::u16string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 == caption.size()) break;  // a trailing marker marks nothing
            ++i;                                 // "&x" shows x, "&&" shows "&"
        }
        shown.push_back(caption[i]);
    }
    return shown;
}

void CaptionedField::SetCaption(std::u16string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    StateChanged();
}

void Label::SetForeColour(Colour colour) {
    if (foreColour_ == colour) return;
    foreColour_ = colour;
    StateChanged();
}

void TextBox::SetText(std::u16string text) {
    if (text == text_) return;
    text_ = std::move(text);
    // The selection cannot reach beyond the new text.
    const int size = static_cast<int>(std::min<std::size_t>(text_.size(), 0x7FFFFFFF));
    selStart_ = std::min(selStart_, size);
    selLength_ = std::min(selLength_, size - selStart_);
    StateChanged();
    if (OnChange) OnChange();
}

void TextBox::Select(int start, int length) {
    const int size = static_cast<int>(std::min<std::size_t>(text_.size(), 0x7FFFFFFF));
    selStart_ = std::clamp(start, 0, size);
    selLength_ = std::clamp(length, 0, size - selStart_);
    StateChanged();
}

bool TextBox::AcceptsTyped(char16_t c) const {
    if ((style_ & kNumbersOnlyStyle) == 0) return true;
    return c >= u'0' && c <= u'9';
}

void TextBox::GotFocus() {
    if (OnGotFocus) OnGotFocus();
}

void TextBox::LostFocus() {
    if (OnLostFocus) OnLostFocus();
}

void TextBox::SetFocus() {
    if (OnFocusRequested) OnFocusRequested();
}

void DropDownList::SetListIndex(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) index = -1;
    if (index == listIndex_) return;
    listIndex_ = index;
    StateChanged();
    if (OnClick) OnClick();
}

void CheckBox::SetValue(int value) {
    if (value < kClear || value > kGreyed) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "a check box state is 0, 1 or 2");
    }
    if (value == value_) return;
    value_ = value;
    StateChanged();
    if (OnClick) OnClick();
}

void CheckBox::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    StateChanged();
}

}  // namespace qv::propertypage
