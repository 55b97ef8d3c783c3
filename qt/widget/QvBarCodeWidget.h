// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <string_view>

#include "control/QvBarCode.h"
#include "host/Variant.h"

namespace qv::widget {
class QtControlSite;
}

// A QvBarCode control on a Qt form. Its properties carry the control's own names, so that a
// .ui file, the property page and code speak the same words. While AutoDraw is true (the
// default) the widget draws on the control's own surface once control returns to the event
// loop after one or more property changes, so a form from Qt Designer shows its barcode with
// no code of its own. The widget is as large as the control, which follows the barcode.
// No failed call leaves the widget: an overflow or a refused size is reported by failed()
// and qWarning, and the next change draws again.
//
// The class is in the global namespace, where Qt Designer and uic expect a form's classes.
class QvBarCodeWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText NOTIFY textChanged)
    // Any 32-bit value, as the control stores it: 0 to 3 name the symbologies, others give
    // result 1100 at the next drawing.
    Q_PROPERTY(int BarCodeType READ barCodeType WRITE setBarCodeType NOTIFY barCodeTypeChanged)
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

  public:
    explicit QvBarCodeWidget(QWidget* parent = nullptr);
    ~QvBarCodeWidget() override;

    QString text() const;
    int barCodeType() const;
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
    bool autoDraw() const { return autoDraw_; }

    // The control itself: its own surface Pic1, or Draw onto a surface of yours.
    qv::control::QvBarCode& Control() { return *control_; }
    const qv::control::QvBarCode& Control() const { return *control_; }
    // What the own surface shows now.
    QImage Picture() const;
    // The control's size: the barcode's after a drawing on the own surface.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Draw() for callers that report failures themselves: a failed call raises
    // qv::host::FailedCall, and the control's error state stays as it was.
    qv::host::Variant DrawOwnSurface();

  public slots:
    // Draws on the own surface now. Returns the result code (0 drawn, 1100 to 1104), or -1
    // when the call failed (failed() said why).
    int Draw();

    void setText(const QString& text);
    void setBarCodeType(int type);
    void setPositionX(int x);
    void setPositionY(int y);
    void setBarHeight(int height);
    void setBarWidth(int width);
    void setBarWidthSource(bool value);
    void setBackgroundWhite(bool value);
    void setShowValue(bool value);
    void setCalculateCheckDigit(bool value);
    void setAutoDraw(bool value);

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
    // A drawing ended with this result code; ErrorFound and ErrorDescription tell the rest.
    void drawn(int code);
    // A drawing failed as a call (an overflow, a refused size); nothing was drawn.
    void failed(const QString& reason);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void OnPropertyChanged(std::string_view name);
    void OnSizeChanged();
    void ScheduleDraw();

    std::shared_ptr<qv::widget::QtControlSite> site_;
    std::unique_ptr<qv::control::QvBarCode> control_;
    bool autoDraw_ = true;
    bool drawPending_ = false;
};
