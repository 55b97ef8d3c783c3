// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QVariant>
#include <memory>
#include <span>

#include <qvbarcode/QvBarCodeWidget.h>
#include <qvbarcode/host/DispatchObject.h>

namespace qv::pagedialog {

// Where the page's writes go: into the widget, or through a form editor that records them.
class PropertyTarget {
  public:
    virtual ~PropertyTarget() = default;
    virtual void Write(QvBarCodeWidget& widget, const char* name, const QVariant& value) {
        widget.setProperty(name, value);
    }
    // Bracket the writes of one apply, so that an editor can undo them as one step.
    virtual void BeginApply() {}
    virtual void EndApply() {}
};

// _QvBarCode over a QvBarCodeWidget, for the property page: properties are read from the
// widget by name, a value converted as any dispatch call converts it is written through the
// target (a write that changes nothing is left out, so that a form records only real
// edits), and Draw draws on the widget's own surface.
class WidgetDispatch final : public host::DispatchObject {
  public:
    WidgetDispatch(QvBarCodeWidget& widget, std::shared_ptr<PropertyTarget> target);

    const host::InterfaceTable& Interface() const noexcept override;

  private:
    host::Variant Run(const host::Member& member, std::span<host::Variant> arguments) override;

    QPointer<QvBarCodeWidget> widget_;
    std::shared_ptr<PropertyTarget> target_;
};

}  // namespace qv::pagedialog
