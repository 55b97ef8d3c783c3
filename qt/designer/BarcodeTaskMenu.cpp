// SPDX-License-Identifier: MIT
#include "BarcodeTaskMenu.h"

#include <QtDesigner/QDesignerFormWindowInterface>
#include <exception>
#include <memory>

#include <qvbarcode/QvBarCodeWidget.h>
#include <qvbarcode/host/UserLanguage.h>
#include "FormWindowTarget.h"
#include "OwnedWidget.h"
#include "PropertiesDialog.h"

namespace qv::designerplugin {

namespace {

QString EditCaption() {
    return host::IsSpanish(host::UserLanguageName())
               ? QStringLiteral("Editar Propiedades del Codigo de Barras...")
               : QStringLiteral("Edit Barcode Properties...");
}

}  // namespace

BarcodeTaskMenu::BarcodeTaskMenu(QvBarCodeWidget& widget, QObject* parent)
    : QObject(parent),
      widget_(&widget),
      editAction_(pagedialog::MakeOwned<QAction>(*this, EditCaption())) {
    connect(editAction_, &QAction::triggered, this, &BarcodeTaskMenu::EditProperties);
}

void BarcodeTaskMenu::EditProperties() {
    if (!widget_) return;
    try {
        QDesignerFormWindowInterface* form =
            QDesignerFormWindowInterface::findFormWindow(widget_.data());
        QString undoText = editAction_->text();
        undoText.remove(QStringLiteral("..."));
        auto target = form ? std::make_shared<FormWindowTarget>(*form, undoText) : nullptr;
        QWidget& owner = form ? static_cast<QWidget&>(*form) : *widget_->window();
        auto* dialog = pagedialog::MakeOwned<pagedialog::PropertiesDialog>(owner, *widget_, target);
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->Open();
    } catch (const std::exception& failure) {
        qWarning("QvBarCode task menu: %s", failure.what());
    }
}

QObject* BarcodeTaskMenuFactory::createExtension(QObject* object, const QString& iid,
                                                 QObject* parent) const {
    auto* widget = qobject_cast<QvBarCodeWidget*>(object);
    if (widget == nullptr || iid != Q_TYPEID(QDesignerTaskMenuExtension)) return nullptr;
    return pagedialog::MakeOwned<BarcodeTaskMenu>(*parent, *widget);
}

}  // namespace qv::designerplugin
