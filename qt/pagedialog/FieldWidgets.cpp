// SPDX-License-Identifier: MIT
#include "FieldWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QTimer>
#include <exception>

#include "OwnedWidget.h"
#include "PageLineEdit.h"
#include "PageStyle.h"
#include "RasterImage.h"

namespace qv::pagedialog {

using propertypage::CheckBox;
using propertypage::DropDownList;
using propertypage::Frame;
using propertypage::Label;
using propertypage::TextBox;

namespace {

// The user's edits reach the page through these; whatever the page raises stays here.
template <typename Action>
auto Guarded(Action action) {
    return [action](auto&&... arguments) {
        try {
            action(arguments...);
        } catch (const std::exception& failure) {
            qWarning("QvBarCode property page: %s", failure.what());
        }
    };
}

// The smallest type a one-line label shrinks to before it cuts its text.
constexpr double kSmallestPoints = 7.0;

// A label one line high shows its text on one line: in smaller type when it is too wide,
// and cut with an ellipsis only below the smallest, the whole text then in its tool tip.
void ShowOnOneLine(QLabel& widget, const QString& text, QFont font) {
    const int width = widget.contentsRect().width();
    while (QFontMetrics(font).horizontalAdvance(text) > width &&
           font.pointSizeF() > kSmallestPoints) {
        font.setPointSizeF(std::max(kSmallestPoints, font.pointSizeF() - 0.25));
    }
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, width);
    if (widget.font() != font) widget.setFont(font);
    if (widget.text() != shown) widget.setText(shown);
    widget.setToolTip(shown == text ? QString() : text);
}

// Labels show the caption as the access-key convention displays it; Qt labels without a
// buddy would show every ampersand.
void RefreshLabel(QLabel& widget, const Label& label, const QFont& font) {
    QString text = ToQString(label.DisplayCaption());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool oneLine = widget.height() < 2 * QFontMetrics(font).lineSpacing();
    widget.setWordWrap(!oneLine);
    if (oneLine && !text.contains(u'\n')) {
        ShowOnOneLine(widget, text, font);
    } else if (widget.text() != text) {
        widget.setText(text);
    }
    QPalette palette = widget.palette();
    if (label.BackColour()) palette.setColor(QPalette::Window, ToQColor(*label.BackColour()));
    if (label.ForeColour()) palette.setColor(QPalette::WindowText, ToQColor(*label.ForeColour()));
    if (palette != widget.palette()) widget.setPalette(palette);
}

// What a text box's widget remembers between repaints.
struct TextBoxState {
    // True while the user's edit is being handed to the field: the widget already shows it.
    bool forwarding = false;
    bool inFocusOut = false;
};

// True while the page moves the focus back into a box: the box the focus leaves then is not
// being left by the user, and must not send it back in turn (which would never end).
bool pageReturnsFocus = false;

void RefreshTextBox(PageLineEdit& widget, const TextBox& box, const TextBoxState& state) {
    if (state.forwarding) return;
    const QString text = ToQString(box.Text());
    const QSignalBlocker blocker(widget);
    if (widget.text() != text) widget.ShowText(text);
    if (box.SelLength() > 0) {
        widget.setSelection(box.SelStart(), box.SelLength());
    } else {
        widget.setCursorPosition(box.SelStart());
    }
}

void ReturnFocus(PageLineEdit& widget) {
    pageReturnsFocus = true;
    widget.setFocus(Qt::OtherFocusReason);
    pageReturnsFocus = false;
}

// The style whose frames carry their caption on the border line, as the page's layout
// expects; other styles draw the caption above the line, where the first row of fields sits.
QStyle* FrameStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = QStyleFactory::create(QStringLiteral("Windows"));
        if (style) style->setParent(QCoreApplication::instance());
    }
    return style;
}

}  // namespace

QWidget* MakeFrameWidget(Frame& frame, QWidget& container) {
    // Buttons and group boxes show captions with the same access-key convention, so the
    // caption goes in as stored.
    auto* widget = MakeOwned<QGroupBox>(container);
    if (QStyle* style = FrameStyle()) widget->setStyle(style);
    QPointer<QGroupBox> guard(widget);
    const auto refresh = [guard, &frame] {
        const QString title = ToQString(frame.Caption());
        if (guard && guard->title() != title) guard->setTitle(title);
    };
    frame.OnStateChanged = refresh;
    refresh();
    return widget;
}

QWidget* MakeLabelWidget(Label& label, QWidget& container, const QFont& font) {
    auto* widget = MakeOwned<QLabel>(container);
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(ToQtAlignment(label.TextAlignment()));
    widget->setAutoFillBackground(label.BackColour().has_value());
    widget->setFont(font);
    QPointer<QLabel> guard(widget);
    label.OnStateChanged = [guard, &label, font] {
        if (guard) RefreshLabel(*guard, label, font);
    };
    return widget;
}

QWidget* MakeTextBoxWidget(TextBox& box, QWidget& container) {
    auto* widget = MakeOwned<PageLineEdit>(container);
    auto state = std::make_shared<TextBoxState>();
    widget->SetLengthLimit(box.MaxLength());
    widget->acceptsTyped = [&box](QChar c) { return box.AcceptsTyped(c.unicode()); };
    QPointer<PageLineEdit> guard(widget);
    QObject::connect(widget, &QLineEdit::textEdited, widget,
                     Guarded([&box, state](const QString& text) {
                         state->forwarding = true;
                         box.SetText(ToU16(text));
                         state->forwarding = false;
                     }));
    widget->onFocusIn = Guarded([&box, guard, state](Qt::FocusReason reason) {
        box.GotFocus();
        // The click that gave the focus places the cursor after this; the page's selection
        // of the whole text is shown again once it has.
        if (reason == Qt::MouseFocusReason) {
            QTimer::singleShot(0, guard, [guard, &box, state] {
                if (guard) RefreshTextBox(*guard, box, *state);
            });
        }
    });
    widget->onFocusOut = Guarded([&box, state](Qt::FocusReason reason) {
        // A menu or another window taking the focus is no leaving of the box.
        if (pageReturnsFocus || reason == Qt::PopupFocusReason ||
            reason == Qt::ActiveWindowFocusReason) {
            return;
        }
        state->inFocusOut = true;
        box.LostFocus();
        state->inFocusOut = false;
    });
    // Qt refuses to move the focus from inside a focus-out: do it once that is over.
    box.OnFocusRequested = [guard, state] {
        if (!guard) return;
        if (state->inFocusOut) {
            QTimer::singleShot(0, guard, [guard] {
                if (guard) ReturnFocus(*guard);
            });
        } else {
            ReturnFocus(*guard);
        }
    };
    box.OnStateChanged = [guard, &box, state] {
        if (guard) RefreshTextBox(*guard, box, *state);
    };
    RefreshTextBox(*widget, box, *state);
    return widget;
}

QWidget* MakeListWidget(DropDownList& list, QWidget& container) {
    auto* widget = MakeOwned<QComboBox>(container);
    widget->setEditable(false);
    for (const std::u16string& entry : list.Entries()) {
        widget->addItem(ToQString(entry));
    }
    QObject::connect(widget, &QComboBox::activated, widget,
                     Guarded([&list](int index) { list.SetListIndex(index); }));
    QPointer<QComboBox> guard(widget);
    const auto refresh = [guard, &list] {
        if (!guard || guard->currentIndex() == list.ListIndex()) return;
        const QSignalBlocker blocker(guard.data());
        guard->setCurrentIndex(list.ListIndex());
    };
    list.OnStateChanged = refresh;
    refresh();
    return widget;
}

QWidget* MakeCheckBoxWidget(CheckBox& box, QWidget& container) {
    auto* widget = MakeOwned<QCheckBox>(container);
    QObject::connect(widget, &QCheckBox::clicked, widget, Guarded([&box](bool checked) {
                         box.SetValue(checked ? CheckBox::kTicked : CheckBox::kClear);
                     }));
    QPointer<QCheckBox> guard(widget);
    const auto refresh = [guard, &box] {
        if (!guard) return;
        const QSignalBlocker blocker(guard.data());
        const QString text = ToQString(box.Caption());
        if (guard->text() != text) guard->setText(text);
        const Qt::CheckState state = box.Value() == CheckBox::kTicked   ? Qt::Checked
                                     : box.Value() == CheckBox::kGreyed ? Qt::PartiallyChecked
                                                                        : Qt::Unchecked;
        if (guard->checkState() != state) guard->setCheckState(state);
        if (guard->isEnabled() != box.Enabled()) guard->setEnabled(box.Enabled());
    };
    box.OnStateChanged = refresh;
    refresh();
    return widget;
}

QWidget* MakePictureWidget(const surface::RasterSurface& image, QWidget& container) {
    auto* widget = MakeOwned<QLabel>(container);
    widget->setPixmap(QPixmap::fromImage(widget::ToQImage(image)));
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return widget;
}

void DetachField(propertypage::Field& field) {
    field.OnStateChanged = nullptr;
    if (auto* box = dynamic_cast<TextBox*>(&field)) box->OnFocusRequested = nullptr;
}

}  // namespace qv::pagedialog
