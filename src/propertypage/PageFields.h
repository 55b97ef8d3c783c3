// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <qvbarcode/surface/Colour.h>

namespace qv::propertypage {

using surface::Colour;

// A position in twips (15 per pixel on the page), relative to the field's container.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// A font by the family a form designer names; views map it to the nearest installed one.
struct FontChoice {
    std::string family;
    double points = 8.25;
    bool bold = false;
    friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

enum class FieldKind { Frame, Label, TextBox, List, CheckBox, Picture };
enum class Alignment { Left, Right, Centre };

// What every field of the page has: a name, a container, a place, maybe a tab stop.
// A view that shows the page subscribes to OnStateChanged to repaint a field whenever
// its visible state changes, whoever changed it.
class Field {
  public:
    Field(std::string name, FieldKind kind, std::string container, TwipsRect rect,
          std::optional<int> tabIndex);
    virtual ~Field() = default;
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    const std::string& Name() const { return name_; }
    FieldKind Kind() const { return kind_; }
    // "page" or the name of the frame that holds the field.
    const std::string& Container() const { return container_; }
    const TwipsRect& Rect() const { return rect_; }
    std::optional<int> TabIndex() const { return tabIndex_; }
    // Empty: the page's default font.
    const std::optional<FontChoice>& Font() const { return font_; }
    void SetFont(FontChoice font) { font_ = std::move(font); }

    std::function<void()> OnStateChanged;

  protected:
    void StateChanged() const {
        if (OnStateChanged) OnStateChanged();
    }

  private:
    std::string name_;
    FieldKind kind_;
    std::string container_;
    TwipsRect rect_;
    std::optional<int> tabIndex_;
    std::optional<FontChoice> font_;
};

// A caption as stored, with the access-key convention: "&x" marks x, "&&" shows "&".
std::u16string DisplayedCaption(std::u16string_view caption);

class CaptionedField : public Field {
  public:
    using Field::Field;
    const std::u16string& Caption() const { return caption_; }
    std::u16string DisplayCaption() const { return DisplayedCaption(caption_); }
    void SetCaption(std::u16string caption);

  private:
    std::u16string caption_;
};

class Frame final : public CaptionedField {
  public:
    Frame(std::string name, std::string container, TwipsRect rect, int tabIndex)
        : CaptionedField(std::move(name), FieldKind::Frame, std::move(container), rect, tabIndex) {}
};

class Label final : public CaptionedField {
  public:
    Label(std::string name, std::string container, TwipsRect rect, int tabIndex,
          Alignment alignment = Alignment::Left)
        : CaptionedField(std::move(name), FieldKind::Label, std::move(container), rect, tabIndex),
          alignment_(alignment) {}

    Alignment TextAlignment() const { return alignment_; }
    // Empty: the page's colours.
    std::optional<Colour> BackColour() const { return backColour_; }
    void SetBackColour(Colour colour) { backColour_ = colour; }
    std::optional<Colour> ForeColour() const { return foreColour_; }
    void SetForeColour(Colour colour);

  private:
    Alignment alignment_;
    std::optional<Colour> backColour_;
    std::optional<Colour> foreColour_;
};

// The edit control's digits-only style bit.
inline constexpr std::uint32_t kNumbersOnlyStyle = 0x2000;
// A one-line edit box as it starts: child, visible, tab stop, scrolling sideways.
inline constexpr std::uint32_t kInitialEditStyle = 0x50010080;

class TextBox final : public Field {
  public:
    TextBox(std::string name, std::string container, TwipsRect rect, int tabIndex,
            int maxLength = 0)
        : Field(std::move(name), FieldKind::TextBox, std::move(container), rect, tabIndex),
          maxLength_(maxLength) {}

    const std::u16string& Text() const { return text_; }
    // An edit by the user or a setting by code: both raise OnChange when the text differs.
    void SetText(std::u16string text);
    // 0: no limit. The limit applies to what is typed, not to what code sets.
    int MaxLength() const { return maxLength_; }

    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    void Select(int start, int length);

    std::uint32_t Style() const { return style_; }
    void SetStyle(std::uint32_t style) { style_ = style; }
    // Repaints the box with its current style.
    void Refresh() const { StateChanged(); }
    // Whether the box takes this typed character (the digits-only style refuses the rest).
    bool AcceptsTyped(char16_t c) const;

    // The toolkit reports that the box gained or lost the input focus.
    void GotFocus();
    void LostFocus();
    // Code asks for the focus to move to this box; the view that shows it moves it.
    void SetFocus();
    std::function<void()> OnFocusRequested;

    std::function<void()> OnChange;
    std::function<void()> OnGotFocus;
    std::function<void()> OnLostFocus;

  private:
    std::u16string text_;
    int maxLength_;
    int selStart_ = 0;
    int selLength_ = 0;
    std::uint32_t style_ = kInitialEditStyle;
};

// A drop-down list whose entries are the only choices.
class DropDownList final : public Field {
  public:
    DropDownList(std::string name, std::string container, TwipsRect rect, int tabIndex,
                 std::vector<std::u16string> entries)
        : Field(std::move(name), FieldKind::List, std::move(container), rect, tabIndex),
          entries_(std::move(entries)) {}

    const std::vector<std::u16string>& Entries() const { return entries_; }
    // -1 when no entry is selected.
    int ListIndex() const { return listIndex_; }
    // Selecting another entry (or none, with -1) raises OnClick; an index that names no
    // entry selects none.
    void SetListIndex(int index);

    std::function<void()> OnClick;

  private:
    std::vector<std::u16string> entries_;
    int listIndex_ = -1;
};

class CheckBox final : public CaptionedField {
  public:
    static constexpr int kClear = 0;
    static constexpr int kTicked = 1;
    static constexpr int kGreyed = 2;

    CheckBox(std::string name, std::string container, TwipsRect rect, int tabIndex)
        : CaptionedField(std::move(name), FieldKind::CheckBox, std::move(container), rect,
                         tabIndex) {}

    int Value() const { return value_; }
    bool Ticked() const { return value_ == kTicked; }
    // A change of state raises OnClick, whether the user clicked or code set it. A state
    // other than 0, 1 or 2 is the invalid-value failed call.
    void SetValue(int value);
    bool Enabled() const { return enabled_; }
    // A disabled box keeps its state.
    void SetEnabled(bool enabled);

    std::function<void()> OnClick;

  private:
    int value_ = kClear;
    bool enabled_ = true;
};

// A picture shown at its natural size; the page fills it with the sample barcode.
class Picture final : public Field {
  public:
    Picture(std::string name, std::string container, TwipsRect rect)
        : Field(std::move(name), FieldKind::Picture, std::move(container), rect, std::nullopt) {}
};

}  // namespace qv::propertypage
