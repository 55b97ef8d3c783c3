#include "QvBarCodeWidget.h"

#include "QPainterSurface.h"
#include "RasterImage.h"

namespace qv::designer {

QvBarCodeWidget::QvBarCodeWidget(QWidget* parent)
    : QWidget(parent),
      site_(std::make_shared<QtControlSite>(*this)),
      control_(std::make_shared<control::QvBarCode>(site_)) {
    setAutoFillBackground(true);
    site_->OnPropertyChanged = [this](std::string_view name) {
        emit propertyChanged(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    };
}

host::Variant QvBarCodeWidget::DrawOwnSurface() {
    host::Variant result = control_->Draw();
    update();
    return result;
}

host::Variant QvBarCodeWidget::DrawOnto(QPainter& painter, QSize size) {
    PainterSurfaceHandle surface(painter, size);
    surface::SurfaceHandle hdc = surface.get();
    host::Variant result = control_->Draw(hdc);
    update();
    return result;
}

QImage QvBarCodeWidget::SurfaceImage() const {
    return ToQImage(control_->Pic1().Image());
}

void QvBarCodeWidget::paintEvent(QPaintEvent*) {
    const control::PictureBox& pic1 = control_->Pic1();
    if (!pic1.Visible()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(pic1.Left(), pic1.Top()), ToQImage(pic1.Image()));
}

}  // namespace qv::designer
