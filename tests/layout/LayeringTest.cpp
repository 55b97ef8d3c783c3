// SPDX-License-Identifier: MIT
// The folders under src/ are layers: each includes only the layers below it, and the
// installed headers include only installed headers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/FileText.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = QV_SOURCE_DIR;

// What each layer may include besides itself; the same as the links in src/CMakeLists.txt.
const std::map<std::string, std::set<std::string>> kLayersBelow = {
    {"host", {}},
    {"surface", {"host"}},
    {"symbology", {"host"}},
    {"render", {"host", "surface", "symbology"}},
    {"control", {"host", "surface", "symbology", "render"}},
    {"propertypage", {"host", "surface", "symbology", "render", "control"}},
    {"imagefile", {"host", "surface"}},
    {"component",
     {"host", "surface", "symbology", "render", "control", "propertypage", "imagefile"}},
};

// The headers file includes of the library, as paths under src/ (<qvbarcode/control/X.h> is
// control/X.h), and of the program and tests, as written ("options/X.h").
std::vector<std::string> ProjectIncludes(const fs::path& file) {
    const std::string content = qv::testing::FileText(file);
    static const std::regex include(R"re(#include\s+(?:"([^"]+)"|<qvbarcode/([^>]+)>))re");
    std::vector<std::string> found;
    for (std::sregex_iterator it(content.begin(), content.end(), include), end; it != end; ++it) {
        found.push_back((*it)[1].matched ? (*it)[1] : (*it)[2]);
    }
    return found;
}

// Checks that every file under root/<folder> includes only its own folder or a folder that
// allowed names for it.
void ExpectIncludesWithin(const fs::path& root,
                          const std::map<std::string, std::set<std::string>>& allowed) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path relative = fs::relative(entry.path(), root);
        const auto ext = entry.path().extension();
        if ((ext != ".h" && ext != ".cpp") || !relative.has_parent_path()) continue;
        const std::string folder = *relative.begin();
        ASSERT_TRUE(allowed.contains(folder)) << root.string() << "/" << folder << " is no layer";
        for (const std::string& header : ProjectIncludes(entry.path())) {
            const std::string target = header.substr(0, header.find('/'));
            EXPECT_TRUE(target == folder || allowed.at(folder).contains(target))
                << relative.string() << " includes " << header;
        }
    }
}

// The program's folders, bottom to top, may include the library and the folders before
// them; Main.cpp, above them all, any.
TEST(Layering, EveryIncludeRunsDownward) {
    ExpectIncludesWithin(kSource / "src", kLayersBelow);
    std::map<std::string, std::set<std::string>> program;
    std::set<std::string> below;
    for (const auto& [layer, _] : kLayersBelow) below.insert(layer);
    for (const char* folder : {"options", "input", "drawing", "output", "pipeline", "commands"}) {
        program[folder] = below;
        below.insert(folder);
    }
    ExpectIncludesWithin(kSource / "apps" / "qvbarcode", program);
}

// A library header has one spelling everywhere, the installed one: a path under src/ in
// quotes would build in the tree and fail in a user's program.
TEST(Layering, LibraryHeadersAreIncludedAsInstalled) {
    static const std::regex quoted(
        R"re(#include\s+"((host|surface|symbology|render|control|propertypage|imagefile|)re"
        R"re(component)/[^"]+|BarcodePicture\.h|DeviceBarcode\.h|QPainterSurface\.h|)re"
        R"re(QvBarCodeWidget\.h|QvBarCodeItem\.h)")re");
    for (const char* folder : {"src", "apps", "qt", "tests", "examples"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kSource / folder)) {
            const auto ext = entry.path().extension();
            if (ext != ".h" && ext != ".cpp" && ext != ".c") continue;
            const std::string content = qv::testing::FileText(entry.path());
            std::smatch match;
            EXPECT_FALSE(std::regex_search(content, match, quoted))
                << entry.path().string() << " includes \"" << match[1] << "\"";
        }
    }
}

TEST(Layering, InstalledHeadersIncludeOnlyInstalledHeaders) {
    std::ifstream list(kSource / "cmake" / "PublicHeaders.txt");
    std::set<std::string> installed;
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line[0] != '#') installed.insert(line);
    }
    ASSERT_FALSE(installed.empty());
    std::vector<fs::path> headers;
    for (const std::string& header : installed) {
        // The drawing's plan is the library's inside, free to change between releases.
        EXPECT_FALSE(header.starts_with("render/")) << header;
        headers.push_back(kSource / "src" / header);
    }
    // The Qt libraries' installed headers, included as <qvbarcode/NAME.h>.
    for (const char* qt :
         {"painting/BarcodePicture.h", "painting/DeviceBarcode.h", "painting/QPainterSurface.h",
          "widget/QvBarCodeWidget.h", "quick/QvBarCodeItem.h"}) {
        headers.push_back(kSource / "qt" / qt);
        installed.insert(fs::path(qt).filename().string());
    }
    for (const fs::path& header : headers) {
        ASSERT_TRUE(fs::exists(header)) << header.string();
        for (const std::string& included : ProjectIncludes(header)) {
            EXPECT_TRUE(installed.contains(included)) << header << " includes " << included;
        }
    }
}

}  // namespace
