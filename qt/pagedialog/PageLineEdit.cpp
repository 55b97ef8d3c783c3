// SPDX-License-Identifier: MIT
#include "PageLineEdit.h"

#include <QKeyEvent>
#include <algorithm>

namespace qv::pagedialog {

void PageLineEdit::SetLengthLimit(int limit) {
    limit_ = limit;
    connect(this, &QLineEdit::textChanged, this, &PageLineEdit::FitLimitToText,
            Qt::UniqueConnection);
    FitLimitToText();
}

// Qt's own length limit covers every way the user enters text; it is raised only as far as
// a text set by code needs, since Qt would cut that text.
void PageLineEdit::FitLimitToText() {
    if (limit_ > 0) setMaxLength(std::max(limit_, static_cast<int>(text().size())));
}

void PageLineEdit::ShowText(const QString& text) {
    if (limit_ > 0 && text.size() > maxLength()) setMaxLength(static_cast<int>(text.size()));
    setText(text);
}

void PageLineEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0;
    if (!command && acceptsTyped && !typed.isEmpty() && typed.front().isPrint() &&
        !std::all_of(typed.begin(), typed.end(), acceptsTyped)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void PageLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (onFocusIn) onFocusIn(event->reason());
}

void PageLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (onFocusOut) onFocusOut(event->reason());
}

}  // namespace qv::pagedialog
