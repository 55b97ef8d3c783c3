// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv::component {

// The registry of this platform is a directory of small text files, one per class and one
// for the type library: $QVBARCODE_REGISTRY, else $XDG_DATA_HOME/qvbarcode/registry, else
// ~/.local/share/qvbarcode/registry. Raises the platform failed call when none can be found.
std::filesystem::path RegistryDirectory();

struct RegistrationRecord {
    std::string fileName;
    std::string contents;
};

// What registering the library at serverPath writes, record by record.
std::vector<RegistrationRecord> RegistrationRecords(const std::filesystem::path& serverPath);

// Writes every record, each file whole or not at all; registering again replaces them.
void RegisterServer(const std::filesystem::path& directory,
                    const std::filesystem::path& serverPath);
// Removes exactly the files RegisterServer writes; files that are already gone are fine.
void UnregisterServer(const std::filesystem::path& directory);

}  // namespace qv::component
