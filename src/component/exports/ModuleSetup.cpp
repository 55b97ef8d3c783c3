// SPDX-License-Identifier: MIT
#include <qvbarcode/component/exports/ModuleSetup.h>

#include <memory>

#include <qvbarcode/component/ClassFactory.h>
#include <qvbarcode/component/exports/HostPageSite.h>

namespace qv::component::exports {

void InitialiseModule() noexcept {
    try {
        // A page the factory makes waits, detached, for the host to site it over its
        // selected controls (QvPageSetSite).
        SetPropertyPageCreator([]() -> std::shared_ptr<PropertyPageOperations> {
            return std::make_shared<SitedPage>();
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
