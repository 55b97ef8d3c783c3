// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include <qvbarcode/host/Guid.h>
#include <qvbarcode/host/MemberTable.h>

namespace qv::component {

// What the library says about itself: its classes, their interfaces and the enumeration.
// Registration, the class factory and the interface description text all read this one
// description, so they cannot disagree.

struct EnumerationMember {
    std::string_view name;
    std::int32_t value;
    std::string_view helpString;
};

struct Enumeration {
    std::string_view name;
    host::Guid id;
    std::span<const EnumerationMember> members;
};

struct ToolboxImage {
    int width;
    int height;
    int bitsPerPixel;
    int resourceNumber;
};

enum class ClassKind { Control, PropertyPage };

struct ClassDescription {
    std::string_view name;
    std::string_view progId;
    host::Guid id;
    ClassKind kind;
    const host::InterfaceTable* defaultInterface;
    const host::InterfaceTable* eventInterface;  // nullptr when the class has none
    std::uint32_t miscStatus;                    // control classes only
    std::optional<ToolboxImage> toolboxImage;
    std::optional<host::Guid> propertyPage;
};

struct TypeLibraryDescription {
    std::string_view name;
    std::string_view helpString;
    host::Guid id;
    unsigned majorVersion;
    unsigned minorVersion;
    std::string_view importedLibrary;
    std::string_view importedLibraryVersion;
    std::string_view threadingModel;
    std::span<const host::InterfaceTable* const> interfaces;
    std::span<const ClassDescription> classes;
    const Enumeration* enumeration;
};

// Recompose on resize, cannot link inside, inside-out activation, activate when visible,
// alignable, set client site first.
inline constexpr std::uint32_t kQvBarCodeMiscStatus = 0x1 | 0x10 | 0x80 | 0x100 | 0x10000 | 0x20000;
static_assert(kQvBarCodeMiscStatus == 0x00030191);

const TypeLibraryDescription& TypeLibrary();

const ClassDescription* FindClass(const host::Guid& classId);

}  // namespace qv::component
