// SPDX-License-Identifier: MIT
#include "QvBarCodeDesignerPlugin.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <exception>
#include <memory>

#include <qvbarcode/QvBarCodeWidget.h>
#include <qvbarcode/component/ToolboxBitmap.h>
#include "BarcodeTaskMenu.h"
#include "OwnedWidget.h"

namespace qv::designerplugin {

QString QvBarCodeDesignerPlugin::name() const {
    return QStringLiteral("QvBarCodeWidget");
}

QString QvBarCodeDesignerPlugin::group() const {
    return QStringLiteral("QvBarCode");
}

QIcon QvBarCodeDesignerPlugin::icon() const {
    const std::string bitmap = component::ToolboxBitmapFile();
    return QIcon(QPixmap::fromImage(QImage::fromData(QByteArray::fromStdString(bitmap), "BMP")));
}

QString QvBarCodeDesignerPlugin::toolTip() const {
    return QStringLiteral("QvBarCode barcode control");
}

QString QvBarCodeDesignerPlugin::whatsThis() const {
    return QStringLiteral(
        "Draws Interleaved 2 of 5, Standard 2 of 5, Code 39 and EAN-13 barcodes of its Text. "
        "Double-click it to edit its properties on the QvBarCode property page.");
}

QString QvBarCodeDesignerPlugin::includeFile() const {
    return QStringLiteral("qvbarcode/QvBarCodeWidget.h");
}

QWidget* QvBarCodeDesignerPlugin::createWidget(QWidget* parent) {
    // Designer owns what it creates, and answers a null widget with a warning of its own: a
    // control that cannot be made (no font for its caption) must not end Designer.
    try {
        auto widget = std::make_unique<QvBarCodeWidget>(parent);
        widget->setDesignMode(true);
        return widget.release();
    } catch (const std::exception& failure) {
        qWarning("QvBarCode designer plugin: %s", failure.what());
        return nullptr;
    }
}

void QvBarCodeDesignerPlugin::initialize(QDesignerFormEditorInterface* core) {
    if (initialized_ || core == nullptr) return;
    QExtensionManager* manager = core->extensionManager();
    manager->registerExtensions(pagedialog::MakeOwned<BarcodeTaskMenuFactory>(*manager),
                                Q_TYPEID(QDesignerTaskMenuExtension));
    initialized_ = true;
}

// The properties a new widget gets; Designer applies them as edits, so the form records them
// and the program built from it shows the same barcode. The height is the one drawn, so that
// unticking BarWidthSource keeps it; the text is data, not a phrase to translate.
QString QvBarCodeDesignerPlugin::domXml() const {
    return QStringLiteral(R"(<ui language="c++">
 <widget class="QvBarCodeWidget" name="barCode">
  <property name="Text"><string notr="true">QVBARCODE</string></property>
  <property name="BarCodeType"><enum>QvBarCodeWidget::Code39</enum></property>
  <property name="BarHeight"><number>50</number></property>
  <property name="BarWidthSource"><bool>true</bool></property>
  <property name="ShowValue"><bool>true</bool></property>
 </widget>
</ui>
)");
}

}  // namespace qv::designerplugin
