// SPDX-License-Identifier: MIT
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QQuickPaintedItem>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include <qvbarcode/BarcodePicture.h>
#include <qvbarcode/DeviceBarcode.h>
#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/Export.h>

// A QvBarCode control as a Qt Quick item, `Barcode` in the QML module QvBarCode. It draws once
// control returns to the event loop after its properties change, and paints the drawing at
// whole device pixels per module on any screen, the caption at the screen's resolution; its
// implicit size is the drawing's. A failure leaves the item empty and its size alone:
// errorFound and errorDescription say why, failed() too for a failed call.
//
// In the global namespace, as QvBarCodeWidget is.
class QV_EXPORT QvBarCodeItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(Barcode)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    // Any 32-bit value: the four Type values (Barcode.Ean13, ...) name the symbologies, others
    // fail with 1100. A number, since QML refuses a number that is no enumerator for an
    // enumeration's property.
    Q_PROPERTY(int type READ type WRITE setType NOTIFY typeChanged)
    Q_PROPERTY(bool checkDigit READ checkDigit WRITE setCheckDigit NOTIFY checkDigitChanged)
    Q_PROPERTY(bool showValue READ showValue WRITE setShowValue NOTIFY showValueChanged)
    Q_PROPERTY(bool whiteBackground READ whiteBackground WRITE setWhiteBackground NOTIFY
                   whiteBackgroundChanged)
    // Modules of space left and right; -1, the default, is the symbology's own.
    Q_PROPERTY(int quietZone READ quietZone WRITE setQuietZone RESET resetQuietZone NOTIFY
                   quietZoneChanged)
    // Device-independent pixels per module, made whole device pixels on every screen.
    Q_PROPERTY(qreal moduleWidth READ moduleWidth WRITE setModuleWidth NOTIFY moduleWidthChanged)
    // The widest whole module that fits the item's width, the bars as high as it leaves.
    Q_PROPERTY(bool autoModule READ autoModule WRITE setAutoModule NOTIFY autoModuleChanged)
    // The bars' height in device-independent pixels, the white frame not included.
    Q_PROPERTY(qreal barHeight READ barHeight WRITE setBarHeight NOTIFY barHeightChanged)
    Q_PROPERTY(bool errorFound READ errorFound NOTIFY errorChanged)
    Q_PROPERTY(QString errorDescription READ errorDescription NOTIFY errorChanged)

  public:
    enum Type : std::int32_t {
        Interleaved2of5 = qv::control::QvTypeInterleaved2of5,
        Standard2of5 = qv::control::QvTypeStandard2of5,
        Code39 = qv::control::QvTypeCode39,
        Ean13 = qv::control::QvTypeEan13,
    };
    Q_ENUM(Type)

    explicit QvBarCodeItem(QQuickItem* parent = nullptr);
    ~QvBarCodeItem() override;

    QString text() const { return text_; }
    int type() const { return type_; }
    bool checkDigit() const { return checkDigit_; }
    bool showValue() const { return showValue_; }
    bool whiteBackground() const { return whiteBackground_; }
    int quietZone() const { return quietZone_; }
    qreal moduleWidth() const { return moduleWidth_; }
    bool autoModule() const { return autoModule_; }
    qreal barHeight() const { return barHeight_; }
    bool errorFound() const { return !errorDescription_.isEmpty(); }
    QString errorDescription() const { return errorDescription_; }

    void setText(const QString& text);
    void setType(int type);
    void setCheckDigit(bool value);
    void setShowValue(bool value);
    void setWhiteBackground(bool value);
    void setQuietZone(int modules);
    void resetQuietZone() { setQuietZone(-1); }
    void setModuleWidth(qreal width);
    void setAutoModule(bool value);
    void setBarHeight(qreal height);

    // The control the item draws with.
    const qv::control::QvBarCode& Control() const { return *control_; }

    // Paints what the item would draw now into target on the painter's device at dotsPerInch,
    // as QvBarCodeWidget::render does. Returns 0, the result code, or -1 for a failed call.
    Q_INVOKABLE int render(QPainter* painter, const QRectF& target, qreal dotsPerInch);

    void paint(QPainter* painter) override;

  public slots:
    // Draws now. Returns the result code (0 drawn, 1100 to 1104), or -1 for a failed call.
    int draw();

  signals:
    void textChanged();
    void typeChanged();
    void checkDigitChanged();
    void showValueChanged();
    void whiteBackgroundChanged();
    void quietZoneChanged();
    void moduleWidthChanged();
    void autoModuleChanged();
    void barHeightChanged();
    void errorChanged();
    void drawn(int code);
    void failed(const QString& message);

  protected:
    void itemChange(ItemChange change, const ItemChangeData& value) override;

  private:
    void ScheduleDraw();
    void ConfigureControl();
    std::int16_t DrawNow();
    void SetError(const QString& description);
    double DevicePixelRatio() const;
    const qv::painting::DeviceBarcode* DeviceFor(double scale, QSize area) const;
    void UpdateImplicitSize();

    std::unique_ptr<qv::control::QvBarCode> control_;
    QString text_;
    int type_ = Code39;
    bool checkDigit_ = false;
    bool showValue_ = false;
    bool whiteBackground_ = true;
    int quietZone_ = -1;
    qreal moduleWidth_ = 2.0;
    bool autoModule_ = false;
    qreal barHeight_ = 50.0;
    QString errorDescription_;
    bool drawPending_ = false;
    std::optional<qv::painting::BarcodePicture> picture_;
    struct Planned {
        double scale;
        QSize area;
        bool fitted;  // autoModule_ may change before the drawing it asks for runs
        qv::painting::DeviceBarcode barcode;
    };
    mutable std::optional<Planned> device_;
};
