// SPDX-License-Identifier: MIT
// The module entry: the library sets itself up when it is loaded and lets go on unload.
#include <qvbarcode/component/exports/ModuleSetup.h>

namespace {

class ModuleLifetime {
  public:
    ModuleLifetime() noexcept { qv::component::exports::InitialiseModule(); }
    ~ModuleLifetime() { qv::component::exports::ReleaseModule(); }
    ModuleLifetime(const ModuleLifetime&) = delete;
    ModuleLifetime& operator=(const ModuleLifetime&) = delete;
};

const ModuleLifetime lifetime;

}  // namespace
