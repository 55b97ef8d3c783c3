// SPDX-License-Identifier: MIT
// The Qt Designer plugin as installed: loaded from its place without a library search path,
// and driven by Qt Designer's own form editor, in this process.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPluginLoader>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtDesigner/QFormBuilder>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

#include "QtTestApplication.h"

namespace qv::designer::test {
namespace {

TEST(DesignerPlugin, LoadsFromItsInstalledPlaceAndItsNewWidgetDraws) {
    const QString folder = qEnvironmentVariable("QV_DESIGNER_PLUGINS");  // the installed one
    ASSERT_FALSE(folder.isEmpty()) << "QV_DESIGNER_PLUGINS names the plugin's folder";
    QPluginLoader loader(folder + "/libqvbarcode-designer.so");
    ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
    ASSERT_NE(plugin, nullptr);
    // (Its name is the class the next test's form names.)
    EXPECT_EQ(plugin->includeFile(), "qvbarcode/QvBarCodeWidget.h");
    EXPECT_EQ(plugin->icon().availableSizes(), QList<QSize>{QSize(16, 15)});

    // A new widget as Designer makes one: by the plugin, with the properties of its XML.
    QFormBuilder builder;
    builder.setPluginPath({folder});
    QBuffer xml;
    xml.setData(plugin->domXml().toUtf8());
    xml.open(QIODevice::ReadOnly);
    const std::unique_ptr<QWidget> widget(builder.load(&xml));
    ASSERT_NE(widget, nullptr);
    QSignalSpy drawn(widget.get(), SIGNAL(drawn(int)));
    ASSERT_TRUE(drawn.wait(5000));
    EXPECT_EQ(drawn[0][0].toInt(), 0);
    // A Code 39 "QVBARCODE" whose height stays when BarWidthSource is unticked; its text is
    // data, never translated.
    EXPECT_EQ(widget->property("Text"), "QVBARCODE");
    EXPECT_EQ(widget->property("BarCodeType").toInt(), 2);
    EXPECT_EQ(widget->property("BarHeight"), 50);
    EXPECT_TRUE(plugin->domXml().contains(R"(<string notr="true">QVBARCODE</string>)"));
}

// A form as Designer wrote it before the type was a list.
constexpr char kForm[] = R"(<ui version="4.0"><class>Form</class>
 <widget class="QWidget" name="Form">
  <widget class="QvBarCodeWidget" name="barCode">
   <property name="Text"><string>QVBARCODE</string></property>
   <property name="BarCodeType"><number>2</number></property>
  </widget>
 </widget>
</ui>)";

TEST(DesignerPlugin, TaskMenuPageAppliesThroughTheFormWindowAsOneUndoStep) {
    QDesignerComponents::initializeResources();
    const std::unique_ptr<QDesignerFormEditorInterface> core(
        QDesignerComponents::createFormEditor(nullptr));
    QDesignerComponents::initializePlugins(core.get());
    const QDesignerIntegration integration(core.get());
    const std::unique_ptr<QDesignerFormWindowInterface> form(
        core->formWindowManager()->createFormWindow(nullptr));
    ASSERT_TRUE(form->setContents(QString::fromUtf8(kForm)));
    QWidget* barcode = form->mainContainer()->findChild<QWidget*>("barCode");
    ASSERT_NE(barcode, nullptr);
    EXPECT_EQ(barcode->property("BarCodeType").toInt(), 2) << "a form's number for the list";
    auto* menu = qt_extension<QDesignerTaskMenuExtension*>(core->extensionManager(), barcode);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->preferredEditAction()->text(), "Edit Barcode Properties...");

    const int steps = form->commandHistory()->count();
    menu->preferredEditAction()->trigger();
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* text = dialog->findChild<QLineEdit*>("txtText");
    text->selectAll();
    QTest::keyClicks(text, "QV2024");
    QPushButton* apply = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply);
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(barcode->property("Text"), "QV2024");
    EXPECT_TRUE(form->contents().contains("<string>QV2024</string>"));
    EXPECT_EQ(form->commandHistory()->count(), steps + 1);

    form->commandHistory()->undo();
    EXPECT_EQ(barcode->property("Text"), "QVBARCODE");
    EXPECT_FALSE(form->contents().contains("QV2024"));

    // A failed call (QV2024's modules at 99999 pixels: beyond 16 bits) keeps OK's dialog
    // open, saying why; once the width fits, OK closes it.
    for (const char* width : {"99999", "300"}) {
        for (const auto& [name, value] :
             {std::pair("txtBarWidth", width), {"txtBarHeight", "60"}}) {
            auto* box = dialog->findChild<QLineEdit*>(name);
            box->selectAll();
            QTest::keyClicks(box, value);
        }
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        if (width[0] == '3') break;
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);
        const QString status = dialog->findChild<QLabel*>("LblMsg")->text();
        EXPECT_TRUE(status.startsWith("ERROR: arithmetic overflow")) << status.toStdString();
    }
    EXPECT_NE(QApplication::activeModalWidget(), dialog) << "OK closed the dialog";
    EXPECT_EQ(barcode->property("BarWidth"), 300);
}

}  // namespace
}  // namespace qv::designer::test
