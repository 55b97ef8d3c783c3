// SPDX-License-Identifier: MIT
#include "PropertiesDialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>
#include <exception>

#include "OwnedWidget.h"
#include "PageStyle.h"

namespace qv::pagedialog {

using propertypage::QvBarCodePP;

namespace {

// The writes of one apply, bracketed for the target even when the apply fails.
class ApplyBracket {
  public:
    explicit ApplyBracket(PropertyTarget& target) : target_(target) { target_.BeginApply(); }
    ~ApplyBracket() { target_.EndApply(); }
    ApplyBracket(const ApplyBracket&) = delete;
    ApplyBracket& operator=(const ApplyBracket&) = delete;

  private:
    PropertyTarget& target_;
};

}  // namespace

PropertiesDialog::PropertiesDialog(QvBarCodeWidget& widget, std::shared_ptr<PropertyTarget> target,
                                   QWidget* parent)
    : QDialog(parent),
      target_(target ? std::move(target) : std::make_shared<PropertyTarget>()),
      host_(std::make_shared<DialogPageHost>(std::make_unique<WidgetDispatch>(widget, target_),
                                             parent)),
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
        if (!host_->Changed() || Apply()) accept();
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
    try {
        page_->SelectionChanged();
    } catch (const std::exception& failure) {
        ReportFailure(failure.what());
    }
    const auto order = page_->FocusOrder();
    if (!order.empty()) {
        if (QWidget* first = view_->WidgetFor(order.front()->Name())) first->setFocus();
    }
}

bool PropertiesDialog::Apply() {
    try {
        const ApplyBracket bracket(*target_);
        page_->ApplyChanges();
    } catch (const std::exception& failure) {
        ReportFailure(failure.what());
        return false;
    }
    host_->SetChanged(false);
    emit applied();
    return true;
}

void PropertiesDialog::ReportFailure(const char* what) {
    const QString reason = QString::fromUtf8(what);
    qWarning("QvBarCode property page: %s", qPrintable(reason));
    page_->LblMsg.SetCaption(u"ERROR: " + reason.toStdU16String());
    emit failed(reason);
}

void PropertiesDialog::done(int result) {
    QDialog::done(result);
    try {
        page_->Terminate();
    } catch (const std::exception& failure) {
        qWarning("QvBarCode property page: %s", failure.what());
    }
}

}  // namespace qv::pagedialog
