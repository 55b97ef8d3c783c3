// The library's description of itself: the interface text and the registration records.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>

#include "component/Interfaces.h"
#include "component/Registration.h"
#include "component/TypeLibraryIdl.h"
#include "host/FailedCall.h"
#include "support/FileText.h"
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

// Hosts built against _QvBarCode call its members by slot and by id, so the property table
// may never reorder or renumber them: the slots as they were first published.
TEST(TypeLibrary, ControlSlotsKeepTheirOrderAndIds) {
    std::string slots;
    for (const host::Member& m : QvBarCodeInterface().members) {
        char id[16];
        std::snprintf(id, sizeof id, " %X ", static_cast<unsigned>(m.id));
        slots += std::string(m.name) + id + "GLM"[static_cast<int>(m.kind)] + "\n";
    }
    EXPECT_EQ(slots,
              "Text 6803000B G\nText 6803000B L\nBarCodeType 6803000A G\nBarCodeType 6803000A L\n"
              "PositionX 68030009 G\nPositionX 68030009 L\nPositionY 68030008 G\n"
              "PositionY 68030008 L\nBarHeight 68030007 G\nBarHeight 68030007 L\n"
              "BarWidth 68030006 G\nBarWidth 68030006 L\nBarWidthSource 68030005 G\n"
              "BarWidthSource 68030005 L\nBackgroundWhite 68030004 G\nBackgroundWhite 68030004 L\n"
              "ShowValue 68030003 G\nShowValue 68030003 L\nErrorFound 68030002 G\n"
              "ErrorDescription 68030001 G\nCalculateCheckDigit 68030000 G\n"
              "CalculateCheckDigit 68030000 L\nDraw 6003000D M\n");
}

// QV_DISPID_BAR_CODE_TYPE is BarCodeType's id: the C header's constants, read from its text,
// against the members the interfaces build from the property table, in both directions.
TEST(TypeLibrary, TheCHeaderGivesEveryMemberItsDispatchId) {
    std::map<std::string, host::DispatchId> members;
    for (const host::InterfaceTable* table : {&QvBarCodeInterface(), &QvBarCodePPInterface()}) {
        for (const host::Member& m : table->members) {
            std::string constant = "QV_DISPID_";
            for (std::size_t i = 0; i < m.name.size(); ++i) {
                if (i > 0 && std::isupper(m.name[i]) && std::islower(m.name[i - 1]))
                    constant += '_';
                constant += static_cast<char>(std::toupper(m.name[i]));
            }
            members[constant] = m.id;
        }
    }
    const std::string header =
        testing::FileText(QV_SOURCE_DIR "/src/component/QvBarCodeComponent.h");
    const std::regex definition(R"((QV_DISPID_\w+) = (0x[0-9A-Fa-f]+))");
    std::map<std::string, host::DispatchId> constants;
    for (std::sregex_iterator it(header.begin(), header.end(), definition), end; it != end; ++it) {
        constants[(*it)[1]] = static_cast<host::DispatchId>(std::stoul((*it)[2], nullptr, 16));
    }
    EXPECT_EQ(constants, members);
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
