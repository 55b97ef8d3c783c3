// SPDX-License-Identifier: MIT
// The library's exported entry points. Each one catches everything: only a status crosses.
#include <dlfcn.h>

#include <filesystem>

#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/component/Registration.h>
#include <qvbarcode/component/exports/ExportedObjects.h>
#include <qvbarcode/component/exports/VariantBridge.h>
#include <qvbarcode/host/ModuleCounts.h>

namespace {

using namespace qv::component;
using namespace qv::host;

// The file this code was loaded from, which the registration names as the server.
std::filesystem::path ServerPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) == 0 ||
        info.dli_fname == nullptr) {
        throw FailedCall(FailureReason::PlatformFailure, "cannot find the library's own path");
    }
    return std::filesystem::absolute(info.dli_fname);
}

}  // namespace

extern "C" {

QvStatus DllGetClassObject(const QvGuid* classId, const QvGuid* iid, void** object) {
    if (object == nullptr) return kNullPointer;
    *object = nullptr;
    if (classId == nullptr || iid == nullptr) return kNullPointer;
    return GuardCall([&] {
               const Status status =
                   exports::GetClassFactory(exports::FromC(*classId), exports::FromC(*iid), object);
               return CallResult{status, Variant(), std::nullopt, {}};
           })
        .status;
}

QvStatus DllCanUnloadNow(void) {
    return ModuleCounts::CanUnload() ? kOk : kFalseOk;
}

QvStatus DllRegisterServer(void) {
    const CallResult result = GuardCall([] {
        RegisterServer(RegistryDirectory(), ServerPath());
        return CallResult::Success(Variant());
    });
    return result.ok() ? kOk : kClassRegistrationFailed;
}

QvStatus DllUnregisterServer(void) {
    const CallResult result = GuardCall([] {
        UnregisterServer(RegistryDirectory());
        return CallResult::Success(Variant());
    });
    return result.ok() ? kOk : kClassRegistrationFailed;
}

QvStatus QvVariantClear(QvVariant* variant) {
    if (variant == nullptr) return kNullPointer;
    exports::Clear(*variant);
    return kOk;
}

}  // extern "C"
