// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QString>
#include <QtDesigner/QDesignerFormWindowInterface>

#include "WidgetDispatch.h"

namespace qv::designerplugin {

// The page's writes as Qt Designer's own edits: through the form window's cursor, so that
// the property editor shows them, the form records them, and the writes of one apply make
// one step that Undo takes back.
class FormWindowTarget final : public pagedialog::PropertyTarget {
  public:
    FormWindowTarget(QDesignerFormWindowInterface& form, QString undoText)
        : form_(&form), undoText_(std::move(undoText)) {}

    void Write(QvBarCodeWidget& widget, const char* name, const QVariant& value) override;
    void BeginApply() override { applying_ = true; }
    void EndApply() override;

  private:
    QPointer<QDesignerFormWindowInterface> form_;
    QString undoText_;
    bool applying_ = false;
    // The undo step opens with the first write, so an apply that changes nothing adds none.
    bool stepOpen_ = false;
};

}  // namespace qv::designerplugin
