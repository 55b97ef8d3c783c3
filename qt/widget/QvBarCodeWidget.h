// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <string_view>

#include <qvbarcode/BarcodePicture.h>
#include <qvbarcode/DeviceBarcode.h>
#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/Export.h>
#include <qvbarcode/host/Variant.h>

namespace qv::widget {
class QtControlSite;
}

// A QvBarCode control on a Qt form. Its properties carry the control's own names, so that a
// .ui file, the property page and code speak the same words. While AutoDraw is true (the
// default) the widget draws on the control's own surface once control returns to the event
// loop after one or more property changes, so a form from Qt Designer shows its barcode with
// no code of its own. The widget shows what was drawn at whole device pixels per module on
// any screen, with quietZone modules of space beside it, and takes that size after every
// drawing; a failure leaves its size alone and the box empty (its message in design mode).
// No failed call leaves the widget: an overflow or a refused size is reported by failed(),
// qWarning and ErrorFound, and the next change draws again.
//
// The class is in the global namespace, where Qt Designer and uic expect a form's classes.
class QV_EXPORT QvBarCodeWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText NOTIFY textChanged)
    // Any 32-bit value, as the control stores it: the four Type values name the symbologies,
    // others give result 1100 at the next drawing.
    Q_PROPERTY(Type BarCodeType READ barCodeType WRITE setBarCodeType NOTIFY barCodeTypeChanged)
    Q_PROPERTY(int PositionX READ positionX WRITE setPositionX NOTIFY positionXChanged)
    Q_PROPERTY(int PositionY READ positionY WRITE setPositionY NOTIFY positionYChanged)
    Q_PROPERTY(int BarHeight READ barHeight WRITE setBarHeight NOTIFY barHeightChanged)
    Q_PROPERTY(int BarWidth READ barWidth WRITE setBarWidth NOTIFY barWidthChanged)
    Q_PROPERTY(bool BarWidthSource READ barWidthSource WRITE setBarWidthSource NOTIFY
                   barWidthSourceChanged)
    Q_PROPERTY(bool BackgroundWhite READ backgroundWhite WRITE setBackgroundWhite NOTIFY
                   backgroundWhiteChanged)
    Q_PROPERTY(bool ShowValue READ showValue WRITE setShowValue NOTIFY showValueChanged)
    Q_PROPERTY(bool CalculateCheckDigit READ calculateCheckDigit WRITE setCalculateCheckDigit NOTIFY
                   calculateCheckDigitChanged)
    Q_PROPERTY(bool ErrorFound READ errorFound NOTIFY drawn)
    Q_PROPERTY(QString ErrorDescription READ errorDescription NOTIFY drawn)
    Q_PROPERTY(bool AutoDraw READ autoDraw WRITE setAutoDraw NOTIFY autoDrawChanged)
    // The same properties by Qt's names, for code and QML: not shown in Designer, not saved.
#define QV_QT_NAME(Type, name, setter) \
    Q_PROPERTY(Type name READ name WRITE setter NOTIFY name##Changed DESIGNABLE false STORED false)
    QV_QT_NAME(QString, text, setText)
    QV_QT_NAME(Type, barCodeType, setBarCodeType)
    QV_QT_NAME(int, positionX, setPositionX)
    QV_QT_NAME(int, positionY, setPositionY)
    QV_QT_NAME(int, barHeight, setBarHeight)
    QV_QT_NAME(int, barWidth, setBarWidth)
    QV_QT_NAME(bool, barWidthSource, setBarWidthSource)
    QV_QT_NAME(bool, backgroundWhite, setBackgroundWhite)
    QV_QT_NAME(bool, showValue, setShowValue)
    QV_QT_NAME(bool, calculateCheckDigit, setCalculateCheckDigit)
#undef QV_QT_NAME
    Q_PROPERTY(bool errorFound READ errorFound NOTIFY drawn DESIGNABLE false STORED false)
    Q_PROPERTY(
        QString errorDescription READ errorDescription NOTIFY drawn DESIGNABLE false STORED false)
    // Modules of space left and right of the barcode, white with BackgroundWhite; -1, the
    // default, is the symbology's own.
    Q_PROPERTY(int quietZone READ quietZone WRITE setQuietZone RESET resetQuietZone NOTIFY
                   quietZoneChanged)

  public:
    enum Type : std::int32_t {
        Interleaved2of5 = qv::control::QvTypeInterleaved2of5,
        Standard2of5 = qv::control::QvTypeStandard2of5,
        Code39 = qv::control::QvTypeCode39,
        Ean13 = qv::control::QvTypeEan13,
    };
    Q_ENUM(Type)

    explicit QvBarCodeWidget(QWidget* parent = nullptr);
    ~QvBarCodeWidget() override;

    QString text() const;
    Type barCodeType() const;
    int positionX() const;
    int positionY() const;
    int barHeight() const;
    int barWidth() const;
    bool barWidthSource() const;
    bool backgroundWhite() const;
    bool showValue() const;
    bool calculateCheckDigit() const;
    bool errorFound() const;
    QString errorDescription() const;
    bool autoDraw() const {
        return autoDraw_;
    }
    int quietZone() const {
        return quietZone_;
    }

    // The control itself: its own surface Pic1, or Draw onto a surface of yours.
    qv::control::QvBarCode& Control() {
        return *control_;
    }
    const qv::control::QvBarCode& Control() const {
        return *control_;
    }
    // What the own surface shows now.
    QImage Picture() const;
    // The last good drawing's size at the widget's device pixel ratio; before any, the
    // control's.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override {
        return sizeHint();
    }

    // Draw() for callers that report failures themselves: a failed call raises
    // qv::host::FailedCall, and the control's error state stays as it was.
    qv::host::Variant DrawOwnSurface();
    // Design mode shows a failure's message in the box instead of leaving it empty.
    void setDesignMode(bool value);

    // Paints what the control would draw now into target on the painter's device at
    // dotsPerInch: the widest whole module of device pixels that fits, the bars as high as the
    // target, the caption at its printed size. Leaves the control and the widget alone.
    // Returns 0, the result code (1102 for a target too narrow or lower than the white
    // frame), or -1 for a failed call, which failed() reports.
    int render(QPainter* painter, const QRectF& target, qreal dotsPerInch);
    using QWidget::render;

  public slots:
    // Draws on the own surface now. Returns the result code (0 drawn, 1100 to 1104), or -1
    // when the call failed (failed() said why).
    int Draw();

    void setText(const QString& text);
    void setBarCodeType(int type);
    void setBarCodeType(Type type) {
        setBarCodeType(static_cast<int>(type));
    }
    void setPositionX(int x);
    void setPositionY(int y);
    void setBarHeight(int height);
    void setBarWidth(int width);
    void setBarWidthSource(bool value);
    void setBackgroundWhite(bool value);
    void setShowValue(bool value);
    void setCalculateCheckDigit(bool value);
    void setAutoDraw(bool value);
    void setQuietZone(int modules);
    void resetQuietZone() {
        setQuietZone(-1);
    }

  signals:
    void textChanged(const QString& text);
    void barCodeTypeChanged(int type);
    void positionXChanged(int x);
    void positionYChanged(int y);
    void barHeightChanged(int height);
    void barWidthChanged(int width);
    void barWidthSourceChanged(bool value);
    void backgroundWhiteChanged(bool value);
    void showValueChanged(bool value);
    void calculateCheckDigitChanged(bool value);
    void autoDrawChanged(bool value);
    void quietZoneChanged(int modules);
    // A drawing ended with this result code; ErrorFound and ErrorDescription tell the rest.
    void drawn(int code);
    // A drawing failed as a call (an overflow, a refused size); nothing was drawn.
    void failed(const QString& reason);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void OnPropertyChanged(std::string_view name);
    void ScheduleDraw();
    // A drawing as the widget shows it, planned at its device pixel ratio.
    struct Shown {
        std::optional<qv::painting::BarcodePicture> picture;
        std::optional<qv::painting::DeviceBarcode> device;
        QSize size;
    };
    Shown PlanShown() const;
    void ShowDrawing(std::int16_t code, Shown shown);
    void PaintDrawing(QPainter& painter);
    const qv::painting::DeviceBarcode& DeviceAt(double scale) const;

    std::shared_ptr<qv::widget::QtControlSite> site_;
    std::unique_ptr<qv::control::QvBarCode> control_;
    bool autoDraw_ = true;
    bool drawPending_ = false;
    bool designMode_ = false;
    bool drawnOnce_ = false;
    int quietZone_ = -1;
    // What the widget shows: the last good drawing, none after a failure.
    std::optional<qv::painting::BarcodePicture> picture_;
    mutable std::optional<qv::painting::DeviceBarcode> device_;
    QSize size_;
    // The widget's own last error: a failed call, which leaves the control's state alone.
    std::optional<QString> failedCall_;
};
