// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

namespace qv::fuzz {

// One application for the process, on the platform that needs no display; Qt's warnings (a
// failed drawing says why in one) are not kept. For LLVMFuzzerInitialize.
template <typename Application>
int StartQtApplication(const char* target) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(target), nullptr};
    static Application application(argc, argv);
    return 0;
}

}  // namespace qv::fuzz
