#pragma once

#include <QDialog>
#include <QPushButton>
#include <memory>

#include "DialogPageHost.h"
#include "PageView.h"
#include "control/QvBarCode.h"
#include "propertypage/QvBarCodePP.h"

namespace qv::designer {

// The property dialog of one control: the page over OK, Cancel and Apply. It lives from
// opening to closing, and closing terminates the page, which reports a failed drawing.
class PropertiesDialog final : public QDialog {
    Q_OBJECT

  public:
    PropertiesDialog(std::shared_ptr<control::QvBarCode> control, QWidget* parent = nullptr);
    ~PropertiesDialog() override;

    // Shows the dialog and loads the control into the page.
    void Open();

    propertypage::QvBarCodePP& Page() { return *page_; }
    PageView& View() { return *view_; }
    QPushButton& OkButton() { return *ok_; }
    QPushButton& ApplyButton() { return *apply_; }
    QPushButton& CancelButton() { return *cancel_; }

  signals:
    // The page wrote its fields into the control (and drew it when complete).
    void applied();

  public slots:
    void done(int result) override;

  private:
    void Apply();

    std::shared_ptr<DialogPageHost> host_;
    std::unique_ptr<propertypage::QvBarCodePP> page_;
    PageView* view_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
};

}  // namespace qv::designer
