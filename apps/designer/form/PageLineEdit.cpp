#include "PageLineEdit.h"

#include <QKeyEvent>

namespace qv::designer {

void PageLineEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0;
    if (!command && !typed.isEmpty() && typed.front().isPrint()) {
        for (const QChar c : typed) {
            if (acceptsTyped && !acceptsTyped(c)) {
                event->accept();
                return;
            }
        }
        const qsizetype after = text().size() - selectedText().size() + typed.size();
        if (typedLimit > 0 && after > typedLimit) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void PageLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (onFocusIn) onFocusIn();
}

void PageLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (onFocusOut) onFocusOut();
}

}  // namespace qv::designer
