// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "host/FileDescriptor.h"
#include "imagefile/AtomicFile.h"
#include "support/FileText.h"

namespace qv::imagefile {
namespace {

namespace fs = std::filesystem;

// What each kind of file found at the target becomes; a character device is judged by its
// type alone, so that no test ever writes over one.
TEST(SpecialFileTest, WhatIsThereDecidesTheWrite) {
    struct Case {
        mode_t mode;
        TargetUse use;
    };
    for (const Case& c :
         {Case{S_IFREG, TargetUse::Replace}, Case{S_IFLNK, TargetUse::Replace},
          Case{S_IFCHR, TargetUse::WriteThrough}, Case{S_IFBLK, TargetUse::WriteThrough},
          Case{S_IFIFO, TargetUse::WriteThrough}, Case{S_IFDIR, TargetUse::Refuse},
          Case{S_IFSOCK, TargetUse::Refuse}}) {
        EXPECT_EQ(UseOfTarget(c.mode | 0644), c.use) << std::oct << c.mode;
    }
}

// A FIFO, directly or through a link, gets the bytes and stays what it was; a directory or
// socket is refused and left; a file is replaced.
TEST(SpecialFileTest, NeverReplacesWhatIsNoFile) {
    const fs::path folder = fs::temp_directory_path() / ("qv-special-" + std::to_string(getpid()));
    const fs::path fifo = folder / "pipe";
    const auto makeSocket = [](const fs::path& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        const host::FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM, 0));
        ASSERT_EQ(bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address),
                  0);
    };
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        std::errc error;  // {} when written
        fs::file_type after;
    };
    const Case cases[] = {
        {"pipe", {}, {}, fs::file_type::fifo},
        {"link",
         [&](const fs::path& p) { fs::create_symlink(fifo, p); },
         {},
         fs::file_type::symlink},
        {"socket", makeSocket, std::errc::operation_not_supported, fs::file_type::socket},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, std::errc::is_a_directory,
         fs::file_type::directory},
        {"file",
         [](const fs::path& p) { std::ofstream(p) << "old text, longer"; },
         {},
         fs::file_type::regular},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const fs::path target = folder / c.name;
        if (c.make) c.make(target);
        // Open for reading first, so that the writer's open does not wait for a reader, and a
        // FIFO that was replaced shows as nothing read rather than a test that hangs.
        const host::FileDescriptor reader(open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        ASSERT_GE(reader.get(), 0);
        const std::string bytes = "P5 1 1 255 x";
        EXPECT_EQ(TryWriteFileAtomically(target, bytes).value(), static_cast<int>(c.error));
        EXPECT_EQ(fs::symlink_status(target).type(), c.after);
        char read[64] = {};
        const ssize_t got = ::read(reader.get(), read, sizeof read);
        const bool throughFifo =
            c.after == fs::file_type::fifo || c.after == fs::file_type::symlink;
        EXPECT_EQ(std::string(read, got > 0 ? got : 0), throughFifo ? bytes : "");
        if (c.after == fs::file_type::regular) {
            EXPECT_EQ(testing::FileText(target), bytes);
        }
        // Nothing left beside it: no temporary, no stray file.
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                  target == fifo ? 1 : 2);
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace qv::imagefile
