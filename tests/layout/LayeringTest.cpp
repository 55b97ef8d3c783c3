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
    {"symbology", {"host", "surface"}},
    {"control", {"host", "surface", "symbology"}},
    {"propertypage", {"host", "surface", "symbology", "control"}},
    {"imagefile", {"host", "surface"}},
    {"component", {"host", "surface", "symbology", "control", "propertypage", "imagefile"}},
};

std::vector<std::string> ProjectIncludes(const fs::path& file) {
    const std::string content = qv::testing::FileText(file);
    static const std::regex include(R"re(#include\s+"([^"]+)")re");
    std::vector<std::string> found;
    for (std::sregex_iterator it(content.begin(), content.end(), include), end; it != end; ++it) {
        found.push_back((*it)[1]);
    }
    return found;
}

TEST(Layering, EveryIncludeRunsDownward) {
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "src")) {
        const auto ext = entry.path().extension();
        if (ext != ".h" && ext != ".cpp") continue;
        const std::string layer = *fs::relative(entry.path(), kSource / "src").begin();
        const auto below = kLayersBelow.find(layer);
        ASSERT_NE(below, kLayersBelow.end()) << "src/" << layer << " is no known layer";
        for (const std::string& header : ProjectIncludes(entry.path())) {
            const std::string target = header.substr(0, header.find('/'));
            EXPECT_TRUE(target == layer || below->second.contains(target))
                << entry.path().lexically_relative(kSource).string() << " includes " << header;
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
    for (const std::string& header : installed) {
        ASSERT_TRUE(fs::exists(kSource / "src" / header)) << header;
        for (const std::string& included : ProjectIncludes(kSource / "src" / header)) {
            EXPECT_TRUE(installed.contains(included)) << header << " includes " << included;
        }
    }
}

}  // namespace
