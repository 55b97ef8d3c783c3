// SPDX-License-Identifier: MIT
#include <qvbarcode/propertypage/PageHost.h>

#include <ctime>
#include <iostream>

#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/host/UserLanguage.h>

namespace qv::propertypage {

void DetachedPageHost::ShowMessageBox(std::u16string_view text, int) {
    std::cerr << host::Utf16ToUtf8(text) << '\n';
}

void DetachedPageHost::Beep() {
    std::cerr << '\a' << std::flush;
}

TimeOfDay DetachedPageHost::CurrentTime() const {
    return LocalTimeOfDay();
}

std::string DetachedPageHost::UserLanguageName() const {
    return host::UserLanguageName();
}

TimeOfDay LocalTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return {};
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace qv::propertypage
