// SPDX-License-Identifier: MIT
#pragma once

#include <QAction>
#include <QPointer>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QvBarCodeWidget;

namespace qv::designerplugin {

// The widget's task menu in Qt Designer: "Edit Barcode Properties..." (in Spanish by the
// page's own language rule), also run by a double-click on the widget. It opens the
// property page in a dialog whose writes go through the form window, so that the form
// records them and one Undo takes back one apply.
class BarcodeTaskMenu final : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

  public:
    BarcodeTaskMenu(QvBarCodeWidget& widget, QObject* parent);

    QAction* preferredEditAction() const override { return editAction_; }
    QList<QAction*> taskActions() const override { return {editAction_}; }

  private:
    void EditProperties();

    QPointer<QvBarCodeWidget> widget_;
    QAction* editAction_;
};

// Makes the task menu for QvBarCodeWidget and for nothing else.
class BarcodeTaskMenuFactory final : public QExtensionFactory {
    Q_OBJECT

  public:
    explicit BarcodeTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}

  protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

}  // namespace qv::designerplugin
