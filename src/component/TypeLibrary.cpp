#include "component/TypeLibrary.h"

#include <algorithm>

#include "component/Identifiers.h"
#include "component/Interfaces.h"
#include "component/ToolboxBitmap.h"

namespace qv::component {
namespace {

constexpr EnumerationMember kBarCodeTypes[] = {
    {"QvTypeInterleaved2of5", 0, "QvTypeInterleaved2of5"},
    {"QvTypeStandard2of5", 1, "QvTypeStandard2of5"},
    {"QvTypeCode39", 2, "QvTypeCode39"},
    {"QvTypeEan13", 3, "QvTypeEan13"},
};

constexpr Enumeration kEnumBarCodeType{"EnumBarCodeType", kEnumBarCodeTypeId, kBarCodeTypes};

// Built on first use, so a caller during another file's static initialisation finds it whole.
struct Description {
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
        "QvBarCodePro",    "QvBarCodePro", kLibraryId,  kLibraryMajorVersion, kLibraryMinorVersion,
        "stdole2.tlb",     "2.0",          "Apartment", interfaces,           classes,
        &kEnumBarCodeType,
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
