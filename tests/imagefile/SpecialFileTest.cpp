// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include <qvbarcode/host/FileDescriptor.h>
#include <qvbarcode/imagefile/AtomicFile.h>

namespace qv::imagefile {
namespace {

namespace fs = std::filesystem;

// A FIFO, named or linked to, gets the bytes and stays; a folder is refused. A device is
// judged by its type alone, so that no test writes over one.
TEST(SpecialFileTest, NeverReplacesWhatIsNoFile) {
    EXPECT_EQ(UseOfTarget(S_IFCHR | 0666), TargetUse::WriteThrough);  // /dev/null's
    EXPECT_EQ(UseOfTarget(S_IFBLK | 0660), TargetUse::WriteThrough);
    const fs::path folder = fs::temp_directory_path() / ("qv-special-" + std::to_string(getpid()));
    struct Case {
        const char* name;  // "pipe" is the FIFO itself
        int error;
        fs::file_type after;
    };
    for (const Case& c :
         {Case{"pipe", 0, fs::file_type::fifo}, Case{"link", 0, fs::file_type::symlink},
          Case{"folder", EISDIR, fs::file_type::directory}}) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        fs::create_directories(folder / "folder");
        const fs::path fifo = folder / "pipe", target = folder / c.name;
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        fs::create_symlink(fifo, folder / "link");
        // Read first, so that the writer's open does not wait, and a FIFO that was replaced
        // shows as nothing read rather than a test that hangs.
        const host::FileDescriptor reader(open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        const std::string bytes = "P5 1 1 255 x";
        EXPECT_EQ(TryWriteFileAtomically(target, bytes).value(), c.error);
        EXPECT_EQ(fs::symlink_status(target).type(), c.after);
        std::string read(64, '\0');
        read.resize(std::max<ssize_t>(::read(reader.get(), read.data(), read.size()), 0));
        EXPECT_EQ(read, c.error == 0 ? bytes : "");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 3) << "a temporary is left";
    }
    fs::remove_all(folder);
}

// A link into /proc, as /dev/stdout is when the output goes to a file, stays a link, and the
// file it reaches keeps what it held (a shell's >>).
TEST(SpecialFileTest, ALinkToADescriptorAppendsWhereItLeads) {
    const fs::path folder = fs::temp_directory_path() / ("qv-fd-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "out", link = folder / "stdout";
    const host::FileDescriptor descriptor(
        open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600));
    ASSERT_EQ(write(descriptor.get(), "held ", 5), 5);
    fs::create_symlink("/proc/self/fd/" + std::to_string(descriptor.get()), link);
    EXPECT_EQ(TryWriteFileAtomically(link, "new").value(), 0);
    EXPECT_EQ(fs::symlink_status(link).type(), fs::file_type::symlink);
    std::string read(16, '\0');
    const host::FileDescriptor reader(open(file.c_str(), O_RDONLY | O_CLOEXEC));
    read.resize(std::max<ssize_t>(::read(reader.get(), read.data(), read.size()), 0));
    EXPECT_EQ(read, "held new");
    fs::remove_all(folder);
}

}  // namespace
}  // namespace qv::imagefile
