// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/surface/Font.h>
#include <qvbarcode/surface/FreeTypeFont.h>

namespace qv::surface {

namespace {

// 8.25 points on a 96 dpi screen.
constexpr double kControlFontPoints = 8.25;
constexpr float kControlFontPixels = kControlFontPoints * kScreenDotsPerInch / 72.0;
constexpr const char* kFallbackFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct PatternCloser {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternCloser>;

struct FontFile {
    std::string path;
    int index = 0;
};

// fontconfig reads its configuration with two files open at a time and, short of descriptors,
// goes on without the files it could not open: it then matches another font, silently. So it
// starts only with two descriptors to spare; short of them, the call fails and the next one
// tries again.
bool StartFontconfig() {
    int spare[2] = {-1, -1};
    for (int& descriptor : spare) descriptor = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int error = errno;
    for (const int descriptor : spare) {
        if (descriptor >= 0) close(descriptor);
    }
    if (spare[0] < 0 || spare[1] < 0) {
        throw host::FailedCall(
            host::FailureReason::PlatformFailure,
            std::string("cannot read the font configuration: ") + std::strerror(error));
    }
    return FcInit() == FcTrue;
}

// The file fontconfig picks for the pattern, or an empty path when it has none.
FontFile MatchFontFile(const std::string& pattern) {
    static const bool started = StartFontconfig();
    if (!started) return {};
    Pattern wanted(FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str())));
    if (!wanted || !FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern)) {
        return {};
    }
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, wanted.get(), &result));
    FcChar8* file = nullptr;
    if (!match || result != FcResultMatch ||
        FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
        return {};
    }
    int index = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    return {reinterpret_cast<const char*>(file), index};
}

std::shared_ptr<const Font> LoadControlFont() {
    if (const FontFile found = MatchFontFile("sans-serif"); !found.path.empty()) {
        try {
            return std::make_shared<FreeTypeFont>(found.path, found.index, kControlFontPixels);
        } catch (const host::FailedCall&) {
            // A broken configured font is no reason to draw no captions: try the fallback.
        }
    }
    return std::make_shared<FreeTypeFont>(kFallbackFontFile, 0, kControlFontPixels);
}

}  // namespace

std::shared_ptr<const Font> LoadFont(const std::string& patternOrFile, float pixelSize) {
    std::error_code error;
    if (std::filesystem::is_regular_file(patternOrFile, error)) {
        return std::make_shared<FreeTypeFont>(patternOrFile, 0, pixelSize);
    }
    const FontFile found = MatchFontFile(patternOrFile);
    if (found.path.empty()) {
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               patternOrFile + ": no font matches");
    }
    return std::make_shared<FreeTypeFont>(found.path, found.index, pixelSize);
}

std::shared_ptr<const Font> ControlFont() {
    // A failed load throws out of the initialiser, so the next call tries again.
    static const std::shared_ptr<const Font> font = LoadControlFont();
    return font;
}

std::shared_ptr<const Font> ControlFontAt(double dotsPerInch) {
    std::shared_ptr<const Font> screen = ControlFont();
    if (dotsPerInch == kScreenDotsPerInch) {
        return screen;
    }
    const double pixels = kControlFontPoints * dotsPerInch / 72.0;
    if (!(pixels > 0.0) || !std::isfinite(pixels)) {
        throw host::FailedCall(host::FailureReason::InvalidValue,
                               "no font size for a resolution of " + std::to_string(dotsPerInch));
    }
    // The very file the screen font came from, whether fontconfig's choice or the fallback.
    const auto& face = dynamic_cast<const FreeTypeFont&>(*screen);
    return std::make_shared<FreeTypeFont>(face.path(), face.faceIndex(),
                                          static_cast<float>(pixels));
}

}  // namespace qv::surface
