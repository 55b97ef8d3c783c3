// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QPushButton>
#include <memory>

#include <qvbarcode/QvBarCodeWidget.h>
#include <qvbarcode/propertypage/QvBarCodePP.h>
#include "DialogPageHost.h"
#include "PageView.h"
#include "WidgetDispatch.h"

namespace qv::pagedialog {

// The property dialog of one widget: the page over OK, Cancel and Apply. It lives from
// opening to closing, and closing terminates the page, which reports a failed drawing. A
// failed call while applying (an overflow, a refused size) is shown on the page's status
// line and reported by failed(); the dialog stays open and usable.
class PropertiesDialog final : public QDialog {
    Q_OBJECT

  public:
    // The page writes through the target, or straight into the widget when none is given.
    PropertiesDialog(QvBarCodeWidget& widget, std::shared_ptr<PropertyTarget> target = nullptr,
                     QWidget* parent = nullptr);
    ~PropertiesDialog() override;

    // Shows the dialog and loads the widget into the page.
    void Open();

    propertypage::QvBarCodePP& Page() { return *page_; }
    PageView& View() { return *view_; }
    QPushButton& OkButton() { return *ok_; }
    QPushButton& ApplyButton() { return *apply_; }
    QPushButton& CancelButton() { return *cancel_; }

  signals:
    // The page wrote its fields into the widget (and drew it when complete).
    void applied();
    void failed(const QString& reason);

  public slots:
    void done(int result) override;

  private:
    bool Apply();
    void ReportFailure(const char* what);

    std::shared_ptr<PropertyTarget> target_;
    std::shared_ptr<DialogPageHost> host_;
    std::unique_ptr<propertypage::QvBarCodePP> page_;
    PageView* view_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
};

}  // namespace qv::pagedialog
