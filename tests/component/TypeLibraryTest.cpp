// SPDX-License-Identifier: MIT
// The library's description of itself: the interface text and the registration records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <tuple>

#include <qvbarcode/component/Interfaces.h>
#include <qvbarcode/component/Registration.h>
#include <qvbarcode/component/TypeLibraryIdl.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/symbology/Symbologies.h>
#include "support/FileText.h"
#include "support/ScopedVariable.h"

namespace qv::component {
namespace {

// Spot checks of the forms a consumer parses: accessors, the enumeration, the optional
// argument, the classes. (Which members there are: ControlSlotsKeepTheirOrderAndIds.)
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
}

// Hosts built against _QvBarCode call its members by slot and by id, so the property table
// may never reorder or renumber them: the slots as first published, G get, L let, M method.
TEST(TypeLibrary, ControlSlotsKeepTheirOrderAndIds) {
    std::string slots;
    std::string_view last;
    for (const host::Member& m : QvBarCodeInterface().members) {
        char id[16];
        std::snprintf(id, sizeof id, " %X ", static_cast<unsigned>(m.id));
        if (m.name != last) slots += "\n" + std::string(last = m.name) + id;
        slots += "GLM"[static_cast<int>(m.kind)];
    }
    EXPECT_EQ(slots,
              "\nText 6803000B GL\nBarCodeType 6803000A GL\nPositionX 68030009 GL"
              "\nPositionY 68030008 GL\nBarHeight 68030007 GL\nBarWidth 68030006 GL"
              "\nBarWidthSource 68030005 GL\nBackgroundWhite 68030004 GL\nShowValue 68030003 GL"
              "\nErrorFound 68030002 G\nErrorDescription 68030001 G"
              "\nCalculateCheckDigit 68030000 GL\nDraw 6003000D M");
}

using Constants = std::map<std::string, std::int64_t>;

// "BarCodeType" as the C header writes it: "BAR_CODE_TYPE".
std::string UpperSnake(const std::string& name) {
    std::string snake = std::regex_replace(name, std::regex("([a-z])([A-Z])"), "$1_$2");
    std::ranges::transform(snake, snake.begin(), [](char c) { return std::toupper(c); });
    return snake;
}

// Each match of pattern in text: its first group, after prefix in the header's way when one
// is given, and its second as a 32-bit number.
Constants Matches(const std::string& text, const char* pattern, const char* prefix = nullptr) {
    Constants found;
    const std::regex constant(pattern);
    for (std::sregex_iterator it(text.begin(), text.end(), constant), end; it != end; ++it) {
        const std::string name = (*it)[1];
        found[prefix ? prefix + UpperSnake(name) : name] =
            static_cast<std::int32_t>(std::stoll((*it)[2], nullptr, 0));
    }
    return found;
}

std::set<std::int64_t> Values(const Constants& constants) {
    std::set<std::int64_t> values;
    for (const auto& [name, value] : constants) values.insert(value);
    return values;
}

// The C header's constants, read from its text, against the library's own tables, both ways:
// the members' ids, the symbologies' values, the result codes and, by value since the header
// gives them the component model's names, the statuses.
TEST(TypeLibrary, TheCHeaderNamesWhatTheLibraryDefines) {
    Constants members, types;
    for (const host::InterfaceTable* table : {&QvBarCodeInterface(), &QvBarCodePPInterface()}) {
        for (const host::Member& m : table->members) {
            members["QV_DISPID_" + UpperSnake(std::string(m.name))] = m.id;
        }
    }
    for (const symbology::Symbology& s : symbology::Symbologies()) {
        types[std::string(s.enumerationName)] = s.value;
    }
    const auto file = [](const char* path) {
        return testing::FileText(std::string(QV_SOURCE_DIR "/src/") + path);
    };
    const std::string header = file("component/QvBarCodeComponent.h");
    const std::size_t statuses = header.find("Every status the library returns");
    EXPECT_EQ(Matches(header, R"((QV_DISPID_\w+) = (0x[0-9A-F]+))"), members);
    EXPECT_EQ(Matches(header, R"((QvType\w+) = (\d+))"), types);
    EXPECT_EQ(Matches(header, R"((QV_RESULT_\w+) = (\d+))"),
              Matches(file("symbology/Encoding.h"), R"(k(\w+) = (\d+))", "QV_RESULT_"));
    EXPECT_EQ(Values(Matches(header.substr(statuses, header.find("};", statuses) - statuses),
                             R"((QV_\w+) = (0x[0-9A-F]+|\d+))")),
              Values(Matches(file("host/Status.h"),
                             R"(Status (k\w+) = (?:static_cast<Status>\()?(0x[0-9A-F]+|\d+))")));
}

TEST(TypeLibrary, RegistryDirectoryFollowsTheEnvironment) {
    // QVBARCODE_REGISTRY, XDG_DATA_HOME, HOME, and the directory; none when none can be found.
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"/r", "/d", "/h", "/r"},
        {nullptr, "/d", "/h", "/d/qvbarcode/registry"},
        {"", "relative", "/h", "/h/.local/share/qvbarcode/registry"},
        {nullptr, nullptr, nullptr, nullptr},
    };
    const testing::ScopedVariable registry("QVBARCODE_REGISTRY"), dataHome("XDG_DATA_HOME"),
        home("HOME");
    for (const auto& [inRegistry, inDataHome, inHome, expected] : cases) {
        registry.Set(inRegistry);
        dataHome.Set(inDataHome);
        home.Set(inHome);
        if (expected) {
            EXPECT_EQ(RegistryDirectory(), std::filesystem::path(expected)) << expected;
        } else {
            EXPECT_THROW(RegistryDirectory(), host::FailedCall);
        }
    }
}

}  // namespace
}  // namespace qv::component
