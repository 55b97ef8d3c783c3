// SPDX-License-Identifier: MIT
#include "PageView.h"

#include <qvbarcode/host/FailedCall.h>
#include "FieldWidgets.h"
#include "PageStyle.h"

namespace qv::pagedialog {

using propertypage::Field;
using propertypage::FieldKind;
using propertypage::QvBarCodePP;

PageView::PageView(QvBarCodePP& page, QWidget* parent) : QWidget(parent), page_(&page) {
    setFixedSize(QvBarCodePP::kClientWidthTwips / QvBarCodePP::kTwipsPerPixel,
                 QvBarCodePP::kClientHeightTwips / QvBarCodePP::kTwipsPerPixel);
    setFont(ToQFont(QvBarCodePP::DefaultFont()));
    // Containers come before what they hold, so each container's widget already exists.
    for (Field* field : page.Fields()) {
        QWidget* container = field->Container() == "page" ? this : WidgetFor(field->Container());
        if (container == nullptr) {
            throw host::FailedCall(host::FailureReason::InvalidValue,
                                   "a page field names no container");
        }
        // A field without its own font takes the page's, never its frame's bold one.
        const QFont font = ToQFont(field->Font().value_or(QvBarCodePP::DefaultFont()));
        QWidget* widget = Build(*field, *container, font);
        widget->setObjectName(QString::fromStdString(field->Name()));
        widget->setGeometry(ToPixels(field->Rect()));
        widget->setFont(font);
        if (!field->TabIndex() || field->Kind() == FieldKind::Frame ||
            field->Kind() == FieldKind::Label) {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        if (field->OnStateChanged) field->OnStateChanged();
    }
    QWidget* previous = nullptr;
    for (Field* field : page.FocusOrder()) {
        QWidget* widget = WidgetFor(field->Name());
        if (previous != nullptr && widget != nullptr) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

QWidget* PageView::Build(Field& field, QWidget& container, const QFont& font) {
    switch (field.Kind()) {
        case FieldKind::Frame:
            return MakeFrameWidget(static_cast<propertypage::Frame&>(field), container);
        case FieldKind::Label:
            return MakeLabelWidget(static_cast<propertypage::Label&>(field), container, font);
        case FieldKind::TextBox:
            return MakeTextBoxWidget(static_cast<propertypage::TextBox&>(field), container);
        case FieldKind::List:
            return MakeListWidget(static_cast<propertypage::DropDownList&>(field), container);
        case FieldKind::CheckBox:
            return MakeCheckBoxWidget(static_cast<propertypage::CheckBox&>(field), container);
        case FieldKind::Picture:
            return MakePictureWidget(*page_->Image1Picture(), container);
    }
    throw host::FailedCall(host::FailureReason::InvalidValue, "unknown field kind");
}

QWidget* PageView::WidgetFor(std::string_view fieldName) const {
    return findChild<QWidget*>(
        QString::fromUtf8(fieldName.data(), static_cast<qsizetype>(fieldName.size())));
}

void PageView::Detach() {
    if (page_ == nullptr) return;
    for (Field* field : page_->Fields()) {
        DetachField(*field);
    }
    page_ = nullptr;
}

}  // namespace qv::pagedialog
