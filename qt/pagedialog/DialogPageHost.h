// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include <qvbarcode/host/DispatchObject.h>
#include <qvbarcode/propertypage/PageHost.h>

namespace qv::pagedialog {

// The properties dialog as the page's host: one selected control, reached through its
// dispatch interface, and Qt's message box, beep and clock.
class DialogPageHost final : public propertypage::PageHost {
  public:
    DialogPageHost(std::unique_ptr<host::DispatchObject> control, QWidget* messageParent);

    host::DispatchObject* FirstSelectedControl() override { return control_.get(); }
    void SetChanged(bool changed) override;
    void ShowMessageBox(std::u16string_view text, int style) override;
    void Beep() override;
    propertypage::TimeOfDay CurrentTime() const override;
    std::string UserLanguageName() const override;

    bool Changed() const { return changed_; }
    // Tells the dialog, which offers Apply while the page is changed.
    std::function<void(bool)> OnChangedState;

  private:
    std::unique_ptr<host::DispatchObject> control_;
    QPointer<QWidget> messageParent_;
    bool changed_ = false;
};

}  // namespace qv::pagedialog
