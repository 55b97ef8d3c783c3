// SPDX-License-Identifier: MIT
#include "output/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/FileDescriptor.h>
#include <qvbarcode/imagefile/AtomicFile.h>
#include <qvbarcode/imagefile/PngFile.h>
#include "output/FailureText.h"

namespace qv::cli {

namespace {

OntoBase ReadOntoImage(const OntoImage& onto, bool keepAlpha) {
    if (!keepAlpha) {
        return {std::make_shared<const surface::RasterSurface>(imagefile::ReadPng(onto.path)),
                nullptr, onto.x, onto.y};
    }
    imagefile::PngWithAlpha png = imagefile::ReadPngWithAlpha(onto.path);
    auto alpha = png.alpha.empty()
                     ? nullptr
                     : std::make_shared<const std::vector<std::uint8_t>>(std::move(png.alpha));
    return {std::make_shared<const surface::RasterSurface>(std::move(png.picture)),
            std::move(alpha), onto.x, onto.y};
}

}  // namespace

std::variant<RenderOptions, std::string> ReadRenderOptions(const Options& options) {
    RenderOptions render = RenderOptionsFor(options);
    if (options.onto) {
        try {
            render.onto = ReadOntoImage(*options.onto, options.format == OutputFormat::Png);
        } catch (const host::FailedCall& failure) {
            return "cannot read the --onto image " + std::string(FailureDetail(failure));
        }
    }
    return render;
}

std::string NoFolderOnTheWay(const std::string& folder) {
    std::filesystem::path above;
    for (const std::filesystem::path& part : std::filesystem::path(folder)) {
        above /= part;
        std::error_code error;
        const auto status = std::filesystem::status(above, error);
        if (!std::filesystem::exists(status)) {
            return "";
        }
        if (!std::filesystem::is_directory(status)) {
            return above.string();
        }
    }
    return "";
}

std::string WriteFailureText(const std::string& path, const std::error_code& error) {
    struct stat status {};
    if (error == std::errc::operation_not_supported && stat(path.c_str(), &status) == 0 &&
        S_ISSOCK(status.st_mode)) {
        return "it is a socket, not a file";
    }
    return error.message();
}

std::optional<FileFailure> WriteOutput(const std::string& target, std::string_view bytes) {
    if (target == "-") {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
            std::fflush(stdout) != 0) {
            return FileFailure{"cannot write to standard output",
                               std::error_code(errno, std::generic_category())};
        }
        return std::nullopt;
    }
    if (const std::error_code error = imagefile::TryWriteFileAtomically(target, bytes)) {
        return FileFailure{"cannot write " + target + ": " + WriteFailureText(target, error),
                           error};
    }
    // What was written through (a device, a FIFO, a descriptor) has no name of ours to keep,
    // as a document's has not. A new file is only linked in, a replaced one renamed over the
    // old: neither is on disk before its file system is synced, and a power loss could leave
    // it empty or missing.
    if (imagefile::TargetAt(AT_FDCWD, target).use != imagefile::TargetUse::Replace) {
        return std::nullopt;
    }
    return PutOnDisk(FolderOf(target), target);
}

std::optional<FileFailure> PutOnDisk(const std::string& folder, const std::string& what) {
    const host::FileDescriptor open(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (open.get() < 0 || syncfs(open.get()) != 0) {
        const std::error_code error(errno, std::generic_category());
        return FileFailure{"cannot put " + what + " on disk: " + error.message(), error};
    }
    return std::nullopt;
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

}  // namespace qv::cli
