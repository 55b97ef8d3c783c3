#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <memory>

#include "QtControlSite.h"
#include "control/QvBarCode.h"
#include "host/Variant.h"

namespace qv::designer {

// Shows a QvBarCode control in a Qt window. While the control draws on its own surface
// the widget shows Pic1 and takes the control's size; after a drawing onto a caller's
// surface Pic1 is hidden and the widget lets its parent show through.
class QvBarCodeWidget : public QWidget {
    Q_OBJECT

  public:
    explicit QvBarCodeWidget(QWidget* parent = nullptr);

    const std::shared_ptr<control::QvBarCode>& Control() const { return control_; }
    const QtControlSite& Site() const { return *site_; }

    // Draw on the control's own surface, then repaint.
    host::Variant DrawOwnSurface();
    // Draw onto the painter's surface of the given size at PositionX, PositionY.
    host::Variant DrawOnto(QPainter& painter, QSize size);
    // What Pic1 shows now.
    QImage SurfaceImage() const;

  signals:
    void propertyChanged(const QString& name);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::shared_ptr<QtControlSite> site_;
    std::shared_ptr<control::QvBarCode> control_;
};

}  // namespace qv::designer
