// SPDX-License-Identifier: MIT
#include <qvbarcode/component/TypeLibrary.h>

#include <algorithm>
#include <vector>

#include <qvbarcode/component/Identifiers.h>
#include <qvbarcode/component/Interfaces.h>
#include <qvbarcode/component/ToolboxBitmap.h>
#include <qvbarcode/symbology/Symbologies.h>

namespace qv::component {
namespace {

// The type library names each symbology's value as its enumeration member.
std::vector<EnumerationMember> BarCodeTypes() {
    std::vector<EnumerationMember> members;
    for (const symbology::Symbology& symbology : symbology::Symbologies()) {
        members.push_back({symbology.enumerationName, symbology.value, symbology.enumerationName});
    }
    return members;
}

// Built on first use, so a caller during another file's static initialisation finds it whole.
struct Description {
    const std::vector<EnumerationMember> barCodeTypes = BarCodeTypes();
    const Enumeration enumBarCodeType{"EnumBarCodeType", kEnumBarCodeTypeId, barCodeTypes};
    const host::InterfaceTable* const interfaces[3] = {
        &QvBarCodeInterface(),
        &QvBarCodePPInterface(),
        &QvBarCodeEventInterface(),
    };
    const ClassDescription classes[2] = {
        {"QvBarCode", "QvBarCodePro.QvBarCode", kClassIdQvBarCode, ClassKind::Control,
         &QvBarCodeInterface(), &QvBarCodeEventInterface(), kQvBarCodeMiscStatus,
         ToolboxImage{kToolboxBitmapWidth, kToolboxBitmapHeight, kToolboxBitmapBitsPerPixel,
                      kToolboxBitmapResource},
         kClassIdQvBarCodePP},
        {"QvBarCodePP", "QvBarCodePro.QvBarCodePP", kClassIdQvBarCodePP, ClassKind::PropertyPage,
         &QvBarCodePPInterface(), nullptr, 0, std::nullopt, std::nullopt},
    };
    const TypeLibraryDescription library{
        "QvBarCodePro",   "QvBarCodePro", kLibraryId,  kLibraryMajorVersion, kLibraryMinorVersion,
        "stdole2.tlb",    "2.0",          "Apartment", interfaces,           classes,
        &enumBarCodeType,
    };
};

const Description& Built() {
    static const Description description;
    return description;
}

}  // namespace

const TypeLibraryDescription& TypeLibrary() {
    return Built().library;
}

const ClassDescription* FindClass(const host::Guid& classId) {
    const auto classes = TypeLibrary().classes;
    const auto found =
        std::ranges::find_if(classes, [&](const ClassDescription& c) { return c.id == classId; });
    return found == classes.end() ? nullptr : &*found;
}

}  // namespace qv::component
