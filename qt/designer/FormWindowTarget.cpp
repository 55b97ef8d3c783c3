// SPDX-License-Identifier: MIT
#include "FormWindowTarget.h"

#include <QtDesigner/QDesignerFormWindowCursorInterface>

namespace qv::designerplugin {

void FormWindowTarget::Write(QvBarCodeWidget& widget, const char* name, const QVariant& value) {
    if (!form_) {
        PropertyTarget::Write(widget, name, value);
        return;
    }
    if (applying_ && !stepOpen_) {
        form_->beginCommand(undoText_);
        stepOpen_ = true;
    }
    form_->cursor()->setWidgetProperty(&widget, QString::fromLatin1(name), value);
}

void FormWindowTarget::EndApply() {
    if (stepOpen_ && form_) form_->endCommand();
    stepOpen_ = false;
    applying_ = false;
}

}  // namespace qv::designerplugin
