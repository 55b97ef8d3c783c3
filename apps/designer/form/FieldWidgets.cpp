#include "FieldWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>

#include "OwnedWidget.h"
#include "PageLineEdit.h"
#include "PageStyle.h"
#include "widget/RasterImage.h"

namespace qv::designer {

using propertypage::CheckBox;
using propertypage::DropDownList;
using propertypage::Frame;
using propertypage::Label;
using propertypage::TextBox;

namespace {

// Labels show the caption as the access-key convention displays it; Qt labels without a
// buddy would show every ampersand.
QString LabelText(const Label& label) {
    QString text = ToQString(label.DisplayCaption());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

void RefreshLabel(QLabel& widget, const Label& label) {
    const QString text = LabelText(label);
    if (widget.text() != text) widget.setText(text);
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

void RefreshTextBox(QLineEdit& widget, const TextBox& box, const TextBoxState& state) {
    if (state.forwarding) return;
    const QString text = ToQString(box.Text());
    const QSignalBlocker blocker(widget);
    if (widget.text() != text) widget.setText(text);
    if (box.SelLength() > 0) {
        widget.setSelection(box.SelStart(), box.SelLength());
    } else {
        widget.setCursorPosition(box.SelStart());
    }
}

}  // namespace

QWidget* MakeFrameWidget(Frame& frame, QWidget& container) {
    // Buttons and group boxes show captions with the same access-key convention, so the
    // caption goes in as stored.
    auto* widget = MakeOwned<QGroupBox>(container);
    QPointer<QGroupBox> guard(widget);
    const auto refresh = [guard, &frame] {
        const QString title = ToQString(frame.Caption());
        if (guard && guard->title() != title) guard->setTitle(title);
    };
    frame.OnStateChanged = refresh;
    refresh();
    return widget;
}

QWidget* MakeLabelWidget(Label& label, QWidget& container) {
    auto* widget = MakeOwned<QLabel>(container);
    widget->setTextFormat(Qt::PlainText);
    widget->setWordWrap(true);
    widget->setAlignment(ToQtAlignment(label.TextAlignment()));
    widget->setAutoFillBackground(label.BackColour().has_value());
    QPointer<QLabel> guard(widget);
    label.OnStateChanged = [guard, &label] {
        if (guard) RefreshLabel(*guard, label);
    };
    RefreshLabel(*widget, label);
    return widget;
}

QWidget* MakeTextBoxWidget(TextBox& box, QWidget& container) {
    auto* widget = MakeOwned<PageLineEdit>(container);
    auto state = std::make_shared<TextBoxState>();
    widget->typedLimit = box.MaxLength();
    widget->acceptsTyped = [&box](QChar c) { return box.AcceptsTyped(c.unicode()); };
    QPointer<PageLineEdit> guard(widget);
    QObject::connect(widget, &QLineEdit::textEdited, widget, [&box, state](const QString& text) {
        state->forwarding = true;
        box.SetText(ToU16(text));
        state->forwarding = false;
    });
    widget->onFocusIn = [&box] { box.GotFocus(); };
    widget->onFocusOut = [&box, state] {
        state->inFocusOut = true;
        box.LostFocus();
        state->inFocusOut = false;
    };
    // Qt refuses to move the focus from inside a focus-out: do it once that is over.
    box.OnFocusRequested = [guard, state] {
        if (!guard) return;
        if (state->inFocusOut) {
            QTimer::singleShot(0, guard, [guard] { guard->setFocus(Qt::OtherFocusReason); });
        } else {
            guard->setFocus(Qt::OtherFocusReason);
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
                     [&list](int index) { list.SetListIndex(index); });
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
    QObject::connect(widget, &QCheckBox::clicked, widget, [&box](bool checked) {
        box.SetValue(checked ? CheckBox::kTicked : CheckBox::kClear);
    });
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

QWidget* MakePictureWidget(const propertypage::Picture&, const surface::RasterSurface& image,
                           QWidget& container) {
    auto* widget = MakeOwned<QLabel>(container);
    widget->setPixmap(QPixmap::fromImage(ToQImage(image)));
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return widget;
}

void DetachField(propertypage::Field& field) {
    field.OnStateChanged = nullptr;
    if (auto* box = dynamic_cast<TextBox*>(&field)) box->OnFocusRequested = nullptr;
}

}  // namespace qv::designer
