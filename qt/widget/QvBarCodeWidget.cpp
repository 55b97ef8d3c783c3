// SPDX-License-Identifier: MIT
#include <qvbarcode/QvBarCodeWidget.h>

#include <QMetaProperty>
#include <QPaintEvent>
#include <QPainter>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include <qvbarcode/control/PropertyTable.h>
#include <qvbarcode/host/FailedCall.h>
#include "QtControlSite.h"
#include "RasterImage.h"

using qv::control::AutomationBool;

namespace {

QString ToQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

AutomationBool ToAutomationBool(bool value) {
    return value ? qv::control::kTrue : qv::control::kFalse;
}

}  // namespace

QvBarCodeWidget::QvBarCodeWidget(QWidget* parent)
    : QWidget(parent),
      site_(std::make_shared<qv::widget::QtControlSite>()),
      control_(std::make_unique<qv::control::QvBarCode>(site_)) {
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    site_->onPropertyChanged = [this](std::string_view name) { OnPropertyChanged(name); };
    // 1: the control paints its background behind its surface; 0: the parent shows through.
    site_->onDisplaySetting = [this](std::int16_t setting) {
        setAutoFillBackground(setting == 1);
        update();
    };
    size_ = QSize(site_->InnerWidth(), site_->InnerHeight());
    resize(sizeHint());
}

QvBarCodeWidget::~QvBarCodeWidget() {
    site_->onPropertyChanged = nullptr;
    site_->onDisplaySetting = nullptr;
}

QString QvBarCodeWidget::text() const {
    return ToQString(control_->Text());
}
QvBarCodeWidget::Type QvBarCodeWidget::barCodeType() const {
    return static_cast<Type>(control_->BarCodeType());
}
int QvBarCodeWidget::positionX() const {
    return control_->PositionX();
}
int QvBarCodeWidget::positionY() const {
    return control_->PositionY();
}
int QvBarCodeWidget::barHeight() const {
    return control_->BarHeight();
}
int QvBarCodeWidget::barWidth() const {
    return control_->BarWidth();
}
bool QvBarCodeWidget::barWidthSource() const {
    return control_->BarWidthSource() != qv::control::kFalse;
}
bool QvBarCodeWidget::backgroundWhite() const {
    return control_->BackgroundWhite() != qv::control::kFalse;
}
bool QvBarCodeWidget::showValue() const {
    return control_->ShowValue() != qv::control::kFalse;
}
bool QvBarCodeWidget::calculateCheckDigit() const {
    return control_->CalculateCheckDigit() != qv::control::kFalse;
}
bool QvBarCodeWidget::errorFound() const {
    return failedCall_ || control_->ErrorFound() != qv::control::kFalse;
}
QString QvBarCodeWidget::errorDescription() const {
    return failedCall_ ? *failedCall_ : ToQString(control_->ErrorDescription());
}

void QvBarCodeWidget::setText(const QString& text) {
    control_->SetText(text.toStdU16String());
}
void QvBarCodeWidget::setBarCodeType(int type) {
    control_->SetBarCodeType(type);
}
void QvBarCodeWidget::setPositionX(int x) {
    control_->SetPositionX(x);
}
void QvBarCodeWidget::setPositionY(int y) {
    control_->SetPositionY(y);
}
void QvBarCodeWidget::setBarHeight(int height) {
    control_->SetBarHeight(height);
}
void QvBarCodeWidget::setBarWidth(int width) {
    control_->SetBarWidth(width);
}
void QvBarCodeWidget::setBarWidthSource(bool value) {
    control_->SetBarWidthSource(ToAutomationBool(value));
}
void QvBarCodeWidget::setBackgroundWhite(bool value) {
    control_->SetBackgroundWhite(ToAutomationBool(value));
}
void QvBarCodeWidget::setShowValue(bool value) {
    control_->SetShowValue(ToAutomationBool(value));
}
void QvBarCodeWidget::setCalculateCheckDigit(bool value) {
    control_->SetCalculateCheckDigit(ToAutomationBool(value));
}

void QvBarCodeWidget::setAutoDraw(bool value) {
    if (value == autoDraw_) return;
    autoDraw_ = value;
    drawPending_ = false;
    emit autoDrawChanged(value);
    ScheduleDraw();
}

void QvBarCodeWidget::setQuietZone(int modules) {
    modules = std::max(modules, -1);
    if (modules == quietZone_) return;
    quietZone_ = modules;
    emit quietZoneChanged(modules);
    ScheduleDraw();
}

void QvBarCodeWidget::setDesignMode(bool value) {
    designMode_ = value;
    update();
}

// The widget's properties carry the control's names, so a property the control tells of
// names the Qt property whose signal carries its new value.
void QvBarCodeWidget::OnPropertyChanged(std::string_view name) {
    if (qv::control::FindProperty(name) != nullptr) {
        const QMetaObject& meta = staticMetaObject;
        const QMetaProperty property =
            meta.property(meta.indexOfProperty(std::string(name).c_str()));
        QVariant value = property.read(this);
        // The type's signal carries any 32-bit value, as the control stores it.
        if (property.isEnumType()) value.convert(QMetaType::fromType<int>());
        property.notifySignal().invoke(this, Qt::DirectConnection,
                                       QGenericArgument(value.typeName(), value.constData()));
    }
    ScheduleDraw();
}

// Several changes in a row (a form's setup, an applied page) make one drawing, and no
// drawing runs inside a setter.
void QvBarCodeWidget::ScheduleDraw() {
    if (!autoDraw_ || drawPending_) return;
    drawPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (drawPending_) Draw();
        },
        Qt::QueuedConnection);
}

QSize QvBarCodeWidget::sizeHint() const {
    if (!picture_) return size_;
    try {
        const QSizeF size =
            qv::painting::LogicalSize(DeviceAt(devicePixelRatioF()).size(), devicePixelRatioF());
        return {static_cast<int>(std::ceil(size.width())),
                static_cast<int>(std::ceil(size.height()))};
    } catch (const std::exception&) {
        return size_;  // the drawing checked this size at its own ratio
    }
}

const qv::painting::DeviceBarcode& QvBarCodeWidget::DeviceAt(double scale) const {
    if (!device_ ||
        device_->sizes().captionDotsPerInch != qv::surface::kScreenDotsPerInch * scale) {
        device_.reset();
        device_.emplace(*picture_, qv::painting::ScaledSizes(*picture_, scale));
    }
    return *device_;
}

QImage QvBarCodeWidget::Picture() const {
    return qv::widget::ToQImage(control_->Pic1().Image());
}

qv::host::Variant QvBarCodeWidget::DrawOwnSurface() {
    drawPending_ = false;
    // Draw resets the positions and may set BarWidth without telling the host; Qt still
    // hears of every value that changed.
    const int x = positionX();
    const int y = positionY();
    const int width = barWidth();
    qv::host::Variant result;
    try {
        // Planned before the control draws, so that a drawing the screen cannot show fails as
        // a call that leaves the control as it was.
        Shown shown = PlanShown();
        result = control_->Draw();
        ShowDrawing(result.AsInt16(), std::move(shown));
    } catch (const std::exception& failure) {
        failedCall_ = QString::fromUtf8(failure.what());
        picture_.reset();
        device_.reset();
        update();
        throw;
    }
    if (positionX() != x) emit positionXChanged(positionX());
    if (positionY() != y) emit positionYChanged(positionY());
    if (barWidth() != width) emit barWidthChanged(barWidth());
    emit drawn(result.AsInt16());
    return result;
}

int QvBarCodeWidget::Draw() {
    try {
        return DrawOwnSurface().AsInt16();
    } catch (const std::exception& failure) {
        const QString reason = QString::fromUtf8(failure.what());
        qWarning("QvBarCodeWidget %s: drawing failed: %s", qPrintable(objectName()),
                 qPrintable(reason));
        emit failed(reason);
        return -1;
    }
}

QvBarCodeWidget::Shown QvBarCodeWidget::PlanShown() const {
    Shown shown;
    shown.picture = qv::painting::PictureOf(
        *control_, qv::painting::QuietZoneOf(control_->BarCodeType(), quietZone_));
    if (!shown.picture) return shown;
    const double scale = devicePixelRatioF();
    shown.device.emplace(*shown.picture, qv::painting::ScaledSizes(*shown.picture, scale));
    const QSizeF logical = qv::painting::LogicalSize(shown.device->size(), scale);
    if (logical.width() > QWIDGETSIZE_MAX || logical.height() > QWIDGETSIZE_MAX) {
        throw qv::host::FailedCall(qv::host::FailureReason::InvalidValue,
                                   "control size must fit a widget");
    }
    shown.size = QSize(static_cast<int>(std::ceil(logical.width())),
                       static_cast<int>(std::ceil(logical.height())));
    return shown;
}

// Only a drawing changes the widget's size; after a result code the box is empty.
void QvBarCodeWidget::ShowDrawing(std::int16_t code, Shown shown) {
    if (code != 0 || !shown.picture) shown = Shown{{}, {}, size_};
    failedCall_.reset();
    drawnOnce_ = true;
    picture_ = std::move(shown.picture);
    device_ = std::move(shown.device);
    if (shown.size != size_) {
        size_ = shown.size;
        updateGeometry();
        resize(size_);
    }
    update();
}

void QvBarCodeWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (picture_) {
        PaintDrawing(painter);
        return;
    }
    if (drawnOnce_) {
        if (designMode_ && errorFound()) {
            painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, errorDescription());
        }
        return;
    }
    // Before the first drawing the control's sample picture; only the area to repaint is
    // copied.
    const qv::control::PictureBox& pic1 = control_->Pic1();
    if (!pic1.Visible()) return;
    const QPoint origin(pic1.Left(), pic1.Top());
    const QRect area = event->rect().translated(-origin) & QRect(0, 0, pic1.Width(), pic1.Height());
    if (area.isEmpty()) return;
    painter.drawImage(area.topLeft() + origin, qv::widget::ToQImage(pic1.Image(), area));
}

bool QvBarCodeWidget::event(QEvent* event) {
    // Another screen may have another ratio, and so other whole device pixels.
    if (event->type() == QEvent::ScreenChangeInternal && picture_) {
        device_.reset();
        size_ = sizeHint();
        updateGeometry();
        resize(size_);
    }
    return QWidget::event(event);
}

void QvBarCodeWidget::PaintDrawing(QPainter& painter) {
    try {
        qv::painting::PaintAtDevicePixels(painter, QPointF(0, 0),
                                          DeviceAt(qv::painting::DeviceScale(painter)),
                                          palette().color(backgroundRole()));
    } catch (const std::exception& failure) {
        qWarning("QvBarCodeWidget %s: painting failed: %s", qPrintable(objectName()),
                 failure.what());
    }
}

int QvBarCodeWidget::render(QPainter* painter, const QRectF& target, qreal dotsPerInch) {
    try {
        return qv::painting::RenderFitted(
            *painter, target, dotsPerInch, *control_,
            qv::painting::QuietZoneOf(control_->BarCodeType(), quietZone_));
    } catch (const std::exception& failure) {
        const QString reason = QString::fromUtf8(failure.what());
        qWarning("QvBarCodeWidget %s: rendering failed: %s", qPrintable(objectName()),
                 qPrintable(reason));
        emit failed(reason);
        return -1;
    }
}
