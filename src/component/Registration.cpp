// SPDX-License-Identifier: MIT
#include <qvbarcode/component/Registration.h>

#include <cstdlib>
#include <sstream>
#include <system_error>

#include <qvbarcode/component/TypeLibrary.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/imagefile/AtomicFile.h>

namespace qv::component {
namespace {

std::string Hex8(std::uint32_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase;
    out.width(8);
    out.fill('0');
    out << value;
    return out.str();
}

std::string Version(const TypeLibraryDescription& lib) {
    return std::to_string(lib.majorVersion) + "." + std::to_string(lib.minorVersion);
}

std::string Interface(const host::InterfaceTable& table) {
    return std::string(table.name) + " " + host::ToRegistryForm(table.id);
}

std::string LibraryRecord(const TypeLibraryDescription& lib, const std::string& server) {
    std::ostringstream out;
    out << "[" << lib.name << "]\n"
        << "TypeLib=" << host::ToRegistryForm(lib.id) << "\n"
        << "Version=" << Version(lib) << "\n"
        << "HelpString=" << lib.helpString << "\n"
        << "Path=" << server << "\n"
        << "Imports=" << lib.importedLibrary << " " << lib.importedLibraryVersion << "\n";
    for (const host::InterfaceTable* table : lib.interfaces)
        out << "Interface=" << Interface(*table) << "\n";
    return out.str();
}

std::string ClassRecord(const TypeLibraryDescription& lib, const ClassDescription& c,
                        const std::string& server) {
    std::ostringstream out;
    out << "[" << c.name << "]\n"
        << "CLSID=" << host::ToRegistryForm(c.id) << "\n"
        << "ProgID=" << c.progId << "\n"
        << "InprocServer=" << server << "\n"
        << "ThreadingModel=" << lib.threadingModel << "\n"
        << "TypeLib=" << host::ToRegistryForm(lib.id) << "\n"
        << "Version=" << Version(lib) << "\n"
        << "DefaultInterface=" << Interface(*c.defaultInterface) << "\n";
    if (c.eventInterface != nullptr)
        out << "SourceInterface=" << Interface(*c.eventInterface) << "\n";
    if (c.kind == ClassKind::Control) {
        out << "Control=yes\n"
            << "MiscStatus=" << Hex8(c.miscStatus) << "\n";
    }
    if (c.toolboxImage) {
        out << "ToolboxBitmap=" << server << "," << c.toolboxImage->resourceNumber << " ("
            << c.toolboxImage->width << " x " << c.toolboxImage->height << ", "
            << c.toolboxImage->bitsPerPixel << "-bit)\n";
    }
    if (c.propertyPage) {
        const ClassDescription* page = FindClass(*c.propertyPage);
        out << "PropertyPage=" << (page ? page->name : "") << " "
            << host::ToRegistryForm(*c.propertyPage) << "\n";
    }
    return out.str();
}

std::vector<std::string> RecordFileNames() {
    const TypeLibraryDescription& lib = TypeLibrary();
    std::vector<std::string> names{std::string(lib.name) + ".typelib"};
    for (const ClassDescription& c : lib.classes) names.push_back(std::string(c.name) + ".class");
    return names;
}

const char* NonEmptyVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

std::filesystem::path RegistryDirectory() {
    if (const char* registry = NonEmptyVariable("QVBARCODE_REGISTRY")) return registry;
    // A relative XDG_DATA_HOME is invalid and is ignored, as the base directory rules say.
    if (const char* data = NonEmptyVariable("XDG_DATA_HOME");
        data != nullptr && std::filesystem::path(data).is_absolute()) {
        return std::filesystem::path(data) / "qvbarcode" / "registry";
    }
    if (const char* home = NonEmptyVariable("HOME")) {
        return std::filesystem::path(home) / ".local" / "share" / "qvbarcode" / "registry";
    }
    throw host::FailedCall(
        host::FailureReason::PlatformFailure,
        "no registry directory: QVBARCODE_REGISTRY, XDG_DATA_HOME and HOME unset");
}

std::vector<RegistrationRecord> RegistrationRecords(const std::filesystem::path& serverPath) {
    const TypeLibraryDescription& lib = TypeLibrary();
    const std::string server = serverPath.string();
    const std::vector<std::string> names = RecordFileNames();
    std::vector<RegistrationRecord> records{{names[0], LibraryRecord(lib, server)}};
    for (std::size_t i = 0; i < lib.classes.size(); ++i) {
        records.push_back({names[i + 1], ClassRecord(lib, lib.classes[i], server)});
    }
    return records;
}

void RegisterServer(const std::filesystem::path& directory,
                    const std::filesystem::path& serverPath) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               directory.string() + ": " + error.message());
    }
    for (const RegistrationRecord& record : RegistrationRecords(serverPath)) {
        imagefile::WriteFileAtomically(directory / record.fileName, record.contents);
    }
}

void UnregisterServer(const std::filesystem::path& directory) {
    for (const std::string& name : RecordFileNames()) {
        std::error_code error;
        std::filesystem::remove(directory / name, error);
        if (error) {
            throw host::FailedCall(host::FailureReason::PlatformFailure,
                                   (directory / name).string() + ": " + error.message());
        }
    }
}

}  // namespace qv::component
