#include "component/exports/ModuleSetup.h"

#include "component/ClassFactory.h"

namespace qv::component::exports {

void InitialiseModule() noexcept {
    // The property page plugs in here once its model is built.
}

void ReleaseModule() noexcept {
    try {
        SetPropertyPageCreator(nullptr);
    } catch (...) {
        // Unloading goes on; there is no one left to tell.
    }
}

}  // namespace qv::component::exports
