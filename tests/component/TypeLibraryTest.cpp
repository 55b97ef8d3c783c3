// The library's description of itself: the interface text and the registration records.
#include <gtest/gtest.h>

#include <filesystem>

#include "component/Registration.h"
#include "component/TypeLibraryIdl.h"
#include "host/FailedCall.h"
#include "support/ScopedVariable.h"

namespace qv::component {
namespace {

// Spot checks of the forms a consumer parses: accessors, the enumeration, the optional
// argument, the classes; a read-only property has no setter.
TEST(TypeLibrary, InterfaceTextGivesMembersTheirIdsKindsAndTypes) {
    const std::string idl = TypeLibraryIdl();
    const char* expected[] = {
        "[id(0x6803000B), propget]\n        HRESULT Text([out, retval] BSTR* Text);",
        "[id(0x6803000A), propput]\n        HRESULT BarCodeType([in] EnumBarCodeType BarCodeType);",
        "[id(0x6003000D)]\n        HRESULT Draw([in, out, optional, defaultvalue(-1)] long* xhDC, "
        "[out, retval] VARIANT* Result);",
        "HRESULT AllowOnlyNumbers([in] BSTR* xFlag, [out, retval] VARIANT* Result);",
        "[helpstring(\"QvTypeInterleaved2of5\")] QvTypeInterleaved2of5 = 0,",
        "[helpstring(\"QvTypeEan13\")] QvTypeEan13 = 3\n    } EnumBarCodeType;",
        "[default, source] dispinterface __QvBarCode;",
        "uuid(cf5b8e64-5f35-4b5f-b077-7c6298b5641c), control]\n    coclass QvBarCode {",
    };
    for (const char* text : expected) EXPECT_NE(idl.find(text), std::string::npos) << text;
    EXPECT_EQ(idl.find("propput]\n        HRESULT ErrorFound"), std::string::npos);
}

TEST(TypeLibrary, RegistryDirectoryFollowsTheEnvironment) {
    struct Case {
        const char* registry;
        const char* dataHome;
        const char* home;
        const char* expected;  // nullptr: no directory can be found
    };
    const Case cases[] = {
        {"/r", "/d", "/h", "/r"},
        {nullptr, "/d", "/h", "/d/qvbarcode/registry"},
        {"", "relative", "/h", "/h/.local/share/qvbarcode/registry"},
        {nullptr, nullptr, nullptr, nullptr},
    };
    const testing::ScopedVariable registry("QVBARCODE_REGISTRY"), dataHome("XDG_DATA_HOME"),
        home("HOME");
    for (const Case& c : cases) {
        registry.Set(c.registry);
        dataHome.Set(c.dataHome);
        home.Set(c.home);
        if (c.expected) {
            EXPECT_EQ(RegistryDirectory(), std::filesystem::path(c.expected)) << c.expected;
        } else {
            EXPECT_THROW(RegistryDirectory(), host::FailedCall);
        }
    }
}

}  // namespace
}  // namespace qv::component
