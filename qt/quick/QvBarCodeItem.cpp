// SPDX-License-Identifier: MIT
#include <qvbarcode/QvBarCodeItem.h>

#include <QGuiApplication>
#include <QPainter>
#include <QQuickWindow>
#include <cmath>
#include <exception>

#include <qvbarcode/host/ControlSite.h>

// Made by qt_add_qml_module beside this library. Referred to here so that a program linking
// the library, which uses this file, also gets the module registered at start-up, and the QML
// engine then takes the item's C++ type from the program instead of loading the plugin's.
void qml_register_types_QvBarCode();
extern void (*const qvBarCodeModuleRegistration)();
void (*const qvBarCodeModuleRegistration)() = &qml_register_types_QvBarCode;

namespace {

template <typename T>
bool Store(T& member, const T& value) {
    if (member == value) return false;
    member = value;
    return true;
}

}  // namespace

QvBarCodeItem::QvBarCodeItem(QQuickItem* parent)
    : QQuickPaintedItem(parent), control_(std::make_unique<qv::control::QvBarCode>()) {
    // Whole device pixels only: neither an edge blended nor a texel stretched.
    setAntialiasing(false);
    setSmooth(false);
    ScheduleDraw();
}

QvBarCodeItem::~QvBarCodeItem() = default;

// Each setter stores, tells, and has the item draw once control returns to the event loop.
#define QV_ITEM_SETTER(setter, member, Type, signal) \
    void QvBarCodeItem::setter(Type value) {         \
        if (Store(member, value)) {                  \
            emit signal();                           \
            ScheduleDraw();                          \
        }                                            \
    }
QV_ITEM_SETTER(setText, text_, const QString&, textChanged)
QV_ITEM_SETTER(setType, type_, int, typeChanged)
QV_ITEM_SETTER(setCheckDigit, checkDigit_, bool, checkDigitChanged)
QV_ITEM_SETTER(setShowValue, showValue_, bool, showValueChanged)
QV_ITEM_SETTER(setWhiteBackground, whiteBackground_, bool, whiteBackgroundChanged)
QV_ITEM_SETTER(setAutoModule, autoModule_, bool, autoModuleChanged)
#undef QV_ITEM_SETTER

void QvBarCodeItem::setQuietZone(int modules) {
    if (Store(quietZone_, std::max(modules, -1))) {
        emit quietZoneChanged();
        ScheduleDraw();
    }
}

void QvBarCodeItem::setModuleWidth(qreal width) {
    if (!(width > 0) || !std::isfinite(width)) return;  // no module of no width
    if (Store(moduleWidth_, width)) {
        emit moduleWidthChanged();
        ScheduleDraw();
    }
}

void QvBarCodeItem::setBarHeight(qreal height) {
    if (!(height >= 0) || !std::isfinite(height)) return;
    if (Store(barHeight_, height)) {
        emit barHeightChanged();
        ScheduleDraw();
    }
}

void QvBarCodeItem::ScheduleDraw() {
    if (drawPending_) return;
    drawPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (drawPending_) draw();
        },
        Qt::QueuedConnection);
}

int QvBarCodeItem::draw() {
    drawPending_ = false;
    std::int16_t code = 0;
    try {
        code = DrawNow();
    } catch (const std::exception& failure) {
        const QString reason = QString::fromUtf8(failure.what());
        qWarning("QvBarCode Barcode: drawing failed: %s", qPrintable(reason));
        picture_.reset();
        device_.reset();
        SetError(reason);
        update();
        emit failed(reason);
        return -1;
    }
    emit drawn(code);
    return code;
}

void QvBarCodeItem::ConfigureControl() {
    using qv::control::kFalse;
    using qv::control::kTrue;
    control_->SetText(text_.toStdU16String());
    control_->SetBarCodeType(type_);
    control_->SetCalculateCheckDigit(checkDigit_ ? kTrue : kFalse);
    control_->SetShowValue(showValue_ ? kTrue : kFalse);
    control_->SetBackgroundWhite(whiteBackground_ ? kTrue : kFalse);
    control_->SetBarWidthSource(kTrue);
}

// The control draws at one pixel per module, for its result code and message; the item keeps
// the modules and paints them at its own module width.
std::int16_t QvBarCodeItem::DrawNow() {
    ConfigureControl();
    const std::int16_t code = control_->Draw().AsInt16();
    std::optional<qv::painting::BarcodePicture> picture;
    if (code == 0) {
        picture = qv::painting::PictureOf(*control_, qv::painting::QuietZoneOf(type_, quietZone_));
        if (picture) {
            picture->moduleWidth = moduleWidth_;
            picture->barHeight = barHeight_;
        }
    }
    picture_ = std::move(picture);
    device_.reset();
    // Planned here, so that a size beyond the screen fails the drawing, not the painting.
    UpdateImplicitSize();
    SetError(code == 0 ? QString() : QString::fromStdU16String(control_->ErrorDescription()));
    update();
    return code;
}

void QvBarCodeItem::SetError(const QString& description) {
    if (Store(errorDescription_, description)) emit errorChanged();
}

double QvBarCodeItem::DevicePixelRatio() const {
    return window() ? window()->effectiveDevicePixelRatio() : qApp->devicePixelRatio();
}

// A failed drawing keeps the last size, so that a layout does not jump.
void QvBarCodeItem::UpdateImplicitSize() {
    if (!picture_) return;
    const double scale = DevicePixelRatio();
    const qv::painting::DeviceBarcode barcode(*picture_,
                                              qv::painting::ScaledSizes(*picture_, scale));
    const QSizeF size = qv::painting::LogicalSize(barcode.size(), scale);
    setImplicitSize(size.width(), size.height());
}

const qv::painting::DeviceBarcode* QvBarCodeItem::DeviceFor(double scale, QSize area) const {
    if (!picture_) return nullptr;
    if (!device_ || device_->scale != scale || device_->area != area ||
        device_->fitted != autoModule_) {
        device_.reset();
        const qv::painting::DeviceSizes sizes =
            autoModule_ ? qv::painting::FittedSizes(*picture_, area,
                                                    qv::surface::kScreenDotsPerInch * scale)
                        : qv::painting::ScaledSizes(*picture_, scale);
        if (sizes.moduleWidth < 1) return nullptr;
        device_.emplace(
            Planned{scale, area, autoModule_, qv::painting::DeviceBarcode(*picture_, sizes)});
    }
    return &device_->barcode;
}

// Runs on the render thread while the item's thread waits; nothing thrown may leave it.
void QvBarCodeItem::paint(QPainter* painter) {
    try {
        const double scale = qv::painting::DeviceScale(*painter);
        const QSize area(static_cast<int>(std::lround(width() * scale)),
                         static_cast<int>(std::lround(height() * scale)));
        const qv::painting::DeviceBarcode* barcode = DeviceFor(scale, area);
        if (!barcode) return;
        // Centred, on a whole device pixel.
        const QPointF corner((area.width() - barcode->size().width()) / 2 / scale,
                             (area.height() - barcode->size().height()) / 2 / scale);
        qv::painting::PaintAtDevicePixels(*painter, corner, *barcode, Qt::white);
    } catch (const std::exception& failure) {
        qWarning("QvBarCode Barcode: painting failed: %s", failure.what());
    }
}

int QvBarCodeItem::render(QPainter* painter, const QRectF& target, qreal dotsPerInch) {
    try {
        ConfigureControl();
        return qv::painting::RenderFitted(*painter, target, dotsPerInch, *control_,
                                          qv::painting::QuietZoneOf(type_, quietZone_));
    } catch (const std::exception& failure) {
        const QString reason = QString::fromUtf8(failure.what());
        qWarning("QvBarCode Barcode: rendering failed: %s", qPrintable(reason));
        emit failed(reason);
        return -1;
    }
}

void QvBarCodeItem::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickPaintedItem::itemChange(change, value);
    // A screen of another ratio makes other whole device pixels.
    if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange) {
        device_.reset();
        try {
            UpdateImplicitSize();
        } catch (const std::exception& failure) {
            qWarning("QvBarCode Barcode: %s", failure.what());
        }
        update();
    }
}
