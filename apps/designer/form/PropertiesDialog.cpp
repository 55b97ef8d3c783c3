#include "PropertiesDialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "OwnedWidget.h"
#include "PageStyle.h"

namespace qv::designer {

using propertypage::QvBarCodePP;

PropertiesDialog::PropertiesDialog(std::shared_ptr<control::QvBarCode> control, QWidget* parent)
    : QDialog(parent),
      host_(std::make_shared<DialogPageHost>(std::move(control), parent)),
      page_(std::make_unique<QvBarCodePP>(host_)) {
    setWindowTitle(ToQString(QvBarCodePP::kCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = MakeOwned<QVBoxLayout>(*this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    view_ = MakeOwned<PageView>(*this, *page_);
    layout->addWidget(view_);

    auto* buttons = MakeOwned<QDialogButtonBox>(*this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    apply_ = buttons->addButton(QDialogButtonBox::Apply);
    apply_->setEnabled(false);
    layout->addWidget(buttons);

    host_->OnChangedState = [this](bool changed) { apply_->setEnabled(changed); };
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (host_->Changed()) Apply();
        accept();
    });
    connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

PropertiesDialog::~PropertiesDialog() {
    host_->OnChangedState = nullptr;
    view_->Detach();
    page_.reset();
}

void PropertiesDialog::Open() {
    show();
    page_->SelectionChanged();
    const auto order = page_->FocusOrder();
    if (!order.empty()) {
        if (QWidget* first = view_->WidgetFor(order.front()->Name())) first->setFocus();
    }
}

void PropertiesDialog::Apply() {
    page_->ApplyChanges();
    host_->SetChanged(false);
    emit applied();
}

void PropertiesDialog::done(int result) {
    QDialog::done(result);
    page_->Terminate();
}

}  // namespace qv::designer
