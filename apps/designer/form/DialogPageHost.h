#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "component/ControlDispatch.h"
#include "control/QvBarCode.h"
#include "propertypage/PageHost.h"

namespace qv::designer {

// The properties dialog as the page's host: one selected control, reached through its
// dispatch interface, and Qt's message box, beep and clock.
class DialogPageHost final : public propertypage::PageHost {
  public:
    DialogPageHost(std::shared_ptr<control::QvBarCode> control, QWidget* messageParent);

    host::DispatchObject* FirstSelectedControl() override { return &dispatch_; }
    void SetChanged(bool changed) override;
    void ShowMessageBox(std::u16string_view text, int style) override;
    void Beep() override;
    propertypage::TimeOfDay CurrentTime() const override;
    std::string UserLanguageName() const override;

    bool Changed() const { return changed_; }
    // Tells the dialog, which offers Apply while the page is changed.
    std::function<void(bool)> OnChangedState;

  private:
    component::ControlDispatch dispatch_;
    QPointer<QWidget> messageParent_;
    bool changed_ = false;
};

}  // namespace qv::designer
