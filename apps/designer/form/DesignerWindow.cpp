#include "DesignerWindow.h"

#include <QFileDialog>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "OwnedWidget.h"
#include "PageStyle.h"
#include "SavePicture.h"
#include "host/FailedCall.h"

namespace qv::designer {

DesignerWindow::DesignerWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("QvBarCode Designer"));
    auto* form = MakeOwned<QWidget>(*this);
    auto* layout = MakeOwned<QVBoxLayout>(*form);
    barcode_ = MakeOwned<QvBarCodeWidget>(*form);
    layout->addWidget(barcode_, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    setCentralWidget(form);

    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Control"));
    QToolBar* tools = addToolBar(QStringLiteral("Control"));
    const auto add = [&](const QString& text, QKeySequence keys, auto slot) {
        QAction* action = menu->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        tools->addAction(action);
    };
    add(QStringLiteral("&Properties..."), QKeySequence(Qt::Key_F4), [this] { OpenProperties(); });
    add(QStringLiteral("&Draw"), QKeySequence(Qt::Key_F5), [this] { DrawBarcode(); });
    add(QStringLiteral("&Save Picture As..."), QKeySequence::Save, [this] { SavePictureAs(); });
    menu->addSeparator();
    QAction* quit = menu->addAction(QStringLiteral("&Quit"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    statusBar()->showMessage(QStringLiteral("Ready"));
}

DesignerWindow::~DesignerWindow() {
    if (dialog_) dialog_->reject();
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
    if (dialog_) dialog_->reject();
    QMainWindow::closeEvent(event);
}

PropertiesDialog* DesignerWindow::OpenProperties() {
    if (dialog_) {
        dialog_->raise();
        dialog_->activateWindow();
        return dialog_;
    }
    dialog_ = MakeOwned<PropertiesDialog>(*this, barcode_->Control());
    connect(dialog_, &PropertiesDialog::applied, this, [this] {
        barcode_->update();
        ShowDrawResult();
    });
    dialog_->Open();
    return dialog_;
}

void DesignerWindow::DrawBarcode() {
    try {
        barcode_->DrawOwnSurface();
        ShowDrawResult();
    } catch (const host::FailedCall& failure) {
        statusBar()->showMessage(QStringLiteral("Draw failed: %1").arg(failure.what()));
    }
}

void DesignerWindow::ShowDrawResult() {
    const control::QvBarCode& control = *barcode_->Control();
    if (control.ErrorFound() != control::kFalse) {
        statusBar()->showMessage(
            QStringLiteral("ErrorFound = True: %1").arg(ToQString(control.ErrorDescription())));
    } else {
        statusBar()->showMessage(QStringLiteral("ErrorFound = False"));
    }
}

bool DesignerWindow::SavePictureAs() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Picture As"), QString(),
                                     QStringLiteral("PNG image (*.png);;SVG image (*.svg)"));
    return !path.isEmpty() && SavePictureTo(path);
}

bool DesignerWindow::SavePictureTo(const QString& path) {
    try {
        const SaveResult saved = SavePicture(*barcode_->Control(), path);
        if (saved.written) {
            statusBar()->showMessage(QStringLiteral("Saved %1").arg(path));
        } else if (saved.code != 0) {
            statusBar()->showMessage(QStringLiteral("Not saved: %1 %2")
                                         .arg(saved.code)
                                         .arg(ToQString(saved.description)));
        } else {
            statusBar()->showMessage(QStringLiteral("Not saved: the barcode has no pixels"));
        }
        return saved.written;
    } catch (const host::FailedCall& failure) {
        statusBar()->showMessage(QStringLiteral("Not saved: %1").arg(failure.what()));
        return false;
    }
}

}  // namespace qv::designer
