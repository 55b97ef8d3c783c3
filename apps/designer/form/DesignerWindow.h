#pragma once

#include <QMainWindow>
#include <QPointer>

#include "PropertiesDialog.h"
#include "widget/QvBarCodeWidget.h"

namespace qv::designer {

// The designer's form: one control, its properties dialog, drawing and saving.
class DesignerWindow final : public QMainWindow {
  public:
    explicit DesignerWindow(QWidget* parent = nullptr);
    // Closes an open properties dialog first, so that its report still has a window.
    ~DesignerWindow() override;

    QvBarCodeWidget& Barcode() { return *barcode_; }
    // Opens a new properties dialog, or brings the open one forward.
    PropertiesDialog* OpenProperties();
    void DrawBarcode();
    // Asks for a file name, then saves; false when nothing was written.
    bool SavePictureAs();
    bool SavePictureTo(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowDrawResult();

    QvBarCodeWidget* barcode_;
    QPointer<PropertiesDialog> dialog_;
};

}  // namespace qv::designer
