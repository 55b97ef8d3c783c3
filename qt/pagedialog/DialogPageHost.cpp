// SPDX-License-Identifier: MIT
#include "DialogPageHost.h"

#include <QApplication>
#include <QMessageBox>
#include <QTime>

#include <qvbarcode/host/UserLanguage.h>
#include "PageStyle.h"

namespace qv::pagedialog {

DialogPageHost::DialogPageHost(std::unique_ptr<host::DispatchObject> control,
                               QWidget* messageParent)
    : control_(std::move(control)), messageParent_(messageParent) {}

void DialogPageHost::SetChanged(bool changed) {
    changed_ = changed;
    if (OnChangedState) OnChangedState(changed);
}

// The page only asks for a critical stop with one OK button.
void DialogPageHost::ShowMessageBox(std::u16string_view text, int) {
    QMessageBox::critical(messageParent_.data(), QStringLiteral("QvBarCode"), ToQString(text),
                          QMessageBox::Ok);
}

void DialogPageHost::Beep() {
    QApplication::beep();
}

propertypage::TimeOfDay DialogPageHost::CurrentTime() const {
    const QTime now = QTime::currentTime();
    return {now.hour(), now.minute(), now.second()};
}

std::string DialogPageHost::UserLanguageName() const {
    return host::UserLanguageName();
}

}  // namespace qv::pagedialog
