#include "component/exports/ModuleSetup.h"

#include <memory>

#include "component/ClassFactory.h"
#include "propertypage/QvBarCodePP.h"

namespace qv::component::exports {

void InitialiseModule() noexcept {
    try {
        // A page the factory makes has no property dialog around it: it gets the detached
        // host, and a host that wants more reaches its operations through _QvBarCodePP.
        SetPropertyPageCreator([]() -> std::shared_ptr<PropertyPageOperations> {
            auto page = std::make_shared<propertypage::QvBarCodePP>(
                std::make_shared<propertypage::DetachedPageHost>());
            return std::make_shared<PageOperationsOf<propertypage::QvBarCodePP>>(std::move(page));
        });
    } catch (...) {
        // Without the page the factory reports its class as unavailable.
    }
}

void ReleaseModule() noexcept {
    try {
        SetPropertyPageCreator(nullptr);
    } catch (...) {
        // Unloading goes on; there is no one left to tell.
    }
}

}  // namespace qv::component::exports
