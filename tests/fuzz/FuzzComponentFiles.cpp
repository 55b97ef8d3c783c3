// SPDX-License-Identifier: MIT
// Calls the C exports as the Python package does: properties put as it sends them (a str as
// a BSTR of any UTF-16, lone surrogates included, to any property; ints and Booleans), read
// back and cleared; Draw on the own surface, its handle given back, then the picture's size
// and its pixels copied with any stride, bits per pixel and capacity; and the drawing saved in
// any format number to names in a folder of the process's own, among a folder, a link and a
// pipe. Checks: a text put comes back unit for unit; a cleared variant is empty; a copy never
// writes past its capacity, and one refused writes nothing; grey is the mean of the colours;
// a save that succeeds leaves one complete file of its format, any other leaves the name as
// it was, and no save leaves a temporary.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "FuzzComponentControl.h"

namespace qv::fuzz {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kOwnSurface = -1;

// The folder, made once with what a save must leave alone; removed when the process ends.
struct OwnFolder {
    OwnFolder() {
        fs::create_directories(path + "/dir");
        std::ofstream(path + "/kept.png") << "kept";
        fs::create_symlink("kept.png", path + "/link");
        mkfifo((path + "/fifo").c_str(), 0600);
    }
    ~OwnFolder() { fs::remove_all(path); }
    const std::string path = "/dev/shm/qv-fuzz-files-" + std::to_string(getpid());
};

// What a name holds, a link or a pipe not followed or opened.
std::string Contents(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
    if (descriptor < 0) return "(none)";
    struct stat status {};
    const bool regular = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    std::string contents = regular ? "" : "(other)";
    char buffer[4096];
    for (ssize_t got = 0; regular && (got = read(descriptor, buffer, sizeof buffer)) > 0;) {
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    close(descriptor);
    return contents;
}

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.insert(fs::relative(entry.path(), folder));
    }
    return names;
}

// What a whole file of each format begins and ends with.
bool Complete(const std::string& file, std::int32_t format) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kEnds{{
        {"\x89PNG\r\n\x1a\n", std::string_view("IEND\xAE\x42\x60\x82", 8)},
        {"<?xml", "</svg>\n"},
        {"%PDF-", "%%EOF\n"},
        {"%!PS-Adobe", "%%EOF\n"},
    }};
    const auto& [begin, end] = kEnds[static_cast<std::size_t>(format)];
    return file.starts_with(begin) && file.ends_with(end);
}

class FilesSession {
  public:
    explicit FilesSession(ByteReader& in) : in_(in), control_(CreateComponentControl()) {}
    ~FilesSession() {
        control_->vtbl->Release(control_);
        QV_REQUIRE(DllCanUnloadNow() == QV_S_OK);
    }

    void Run() {
        for (int step = 0; step < 24 && in_.remaining() > 0; ++step) {
            const int what = in_.InRange<int>(0, 5);
            if (what <= 2) Put();
            if (what == 3 || what == 4) CopyPixels();
            if (what == 5) Save();
        }
    }

  private:
    QvStatus Invoke(std::int32_t id, std::uint16_t kind, QvVariant* arguments, std::uint32_t count,
                    QvVariant* result) {
        QvCallError error{};
        return control_->vtbl->Invoke(control_, id, kind, arguments, count, result, &error);
    }

    void Put() {
        const std::int32_t id = 0x68030000 + in_.InRange<std::int32_t>(0, 11);
        const int kind = in_.InRange<int>(0, 2);
        std::u16string text = ConsumeText(in_);
        QvVariant value{QV_VT_BSTR, 0, 0, reinterpret_cast<std::uint16_t*>(text.data()),
                        static_cast<std::uint32_t>(text.size())};
        if (kind == 1) value = {QV_VT_I4, 0, ConsumeInt32(in_), nullptr, 0};
        if (kind == 2) value = {QV_VT_BOOL, ConsumeBool(in_), 0, nullptr, 0};
        const QvStatus status = Invoke(id, QV_DISPATCH_PROPERTYPUT, &value, 1, nullptr);
        QV_REQUIRE(status <= 0);
        // Every property reads back; the text as it was put, unit for unit.
        QvVariant back{};
        QV_REQUIRE(Invoke(id, QV_DISPATCH_PROPERTYGET, nullptr, 0, &back) == QV_S_OK);
        if (id == 0x6803000B && kind == 0 && status == QV_S_OK) {
            QV_REQUIRE(back.vt == QV_VT_BSTR &&
                       std::u16string_view(reinterpret_cast<const char16_t*>(back.text),
                                           back.textLength) == text);
        }
        for (int i = 0; i < 2; ++i) {
            QV_REQUIRE(QvVariantClear(&back) == QV_S_OK);
            QV_REQUIRE(back.vt == QV_VT_EMPTY && back.text == nullptr && back.textLength == 0);
        }
    }

    // Draws on the own surface; its handle, or nothing for a result code or a failure.
    std::optional<std::int32_t> DrawOwn() {
        QvVariant argument{QV_VT_I4, 0, kOwnSurface, nullptr, 0}, result{};
        if (Invoke(0x6003000D, QV_DISPATCH_METHOD, &argument, 1, &result) != QV_S_OK) return {};
        QV_REQUIRE(result.vt == QV_VT_I2);
        return result.i2 == 0 ? std::optional(argument.i4) : std::nullopt;
    }

    // The picture copied as the package reads it, one grey byte a pixel, then with any
    // layout: every pixel's colours lie around its grey, at the place the layout gives it.
    void CopyPixels() {
        const auto handle = DrawOwn();
        if (!handle) return;
        std::int32_t width = -1, height = -1;
        QV_REQUIRE(QvSurfaceGetSize(*handle, &width, &height) == QV_S_OK);
        QV_REQUIRE(width >= 0 && height >= 0);
        std::vector<std::uint8_t> grey(static_cast<std::size_t>(width) * height);
        if (grey.empty() || grey.size() > (1 << 22)) return;  // the package reads no empty one
        QV_REQUIRE(QvSurfaceCopyPixels(*handle, grey.data(), width, 8, grey.size()) == QV_S_OK);
        const std::int32_t bits = std::array{24, 32, 8, 16, 0, -24}[in_.Byte() % 6];
        const std::int64_t bytes = std::max(bits / 8, 0), row = std::int64_t{width} * bytes;
        const std::int64_t stride = in_.Bool()
                                        ? (row + in_.InRange<int>(-2, 5)) * (in_.Bool() ? -1 : 1)
                                        : ConsumeInt32(in_);
        const std::int64_t needed = height == 0 ? 0 : std::abs(stride) * (height - 1) + row;
        const std::size_t capacity =
            in_.Bool() ? std::clamp<std::int64_t>(needed + in_.InRange<int>(-3, 3), 0, 1 << 22)
                       : in_.InRange<std::size_t>(0, 4096);
        if (needed > (1 << 22) || stride < INT32_MIN || stride > INT32_MAX) return;
        std::vector<std::uint8_t> buffer(capacity + 64, 0xA5);
        const QvStatus status = QvSurfaceCopyPixels(
            *handle, buffer.data(), static_cast<std::int32_t>(stride), bits, capacity);
        const auto untouched = [](auto from, auto to) {
            return std::all_of(from, to, [](std::uint8_t b) { return b == 0xA5; });
        };
        QV_REQUIRE(untouched(buffer.begin() + static_cast<std::ptrdiff_t>(capacity), buffer.end()));
        if (status != QV_S_OK) {
            QV_REQUIRE(untouched(buffer.begin(), buffer.end()));
            return;
        }
        QV_REQUIRE(std::int64_t(capacity) >= needed && std::abs(stride) >= row &&
                   (bits == 8 || bits == 24 || bits == 32));
        for (std::int64_t y = 0; y < height; ++y) {
            const std::int64_t line = stride > 0 ? y * stride : (height - 1 - y) * -stride;
            for (std::int64_t x = 0; x < width; ++x) {
                const std::uint8_t* pixel = &buffer[static_cast<std::size_t>(line + x * bytes)];
                const auto [low, high] =
                    std::minmax({pixel[0], pixel[bytes / 3], pixel[bytes / 2]});
                const std::uint8_t mean = grey[static_cast<std::size_t>(y * width + x)];
                QV_REQUIRE(mean >= low && mean <= high);
            }
        }
    }

    void Save() {
        static const OwnFolder folder;
        static constexpr auto kNames =
            Words<10>("a.png b.svg c.pdf d.eps kept.png link fifo dir dir/e.png none/f.png");
        std::string name(kNames[in_.Byte() % kNames.size()]);
        if (in_.Bool()) name = std::string(in_.InRange<std::size_t>(0, 260), 'n');
        const std::int32_t format =
            in_.Bool() ? in_.InRange<std::int32_t>(0, 3) : ConsumeInt32(in_);
        const std::string path = folder.path + "/" + name;
        const std::set<std::string> before = Entries(folder.path);
        const std::string was = Contents(path);
        std::int16_t code = -1;
        QvCallError error{};
        const QvStatus status = QvControlSaveFile(control_, path.c_str(), format, &code, &error);
        QV_REQUIRE(status <= 0);
        const std::string now = Contents(path);
        // What is no regular file is left alone.
        QV_REQUIRE(status != QV_S_OK || code != 0 ||
                   (name != "link" && name != "fifo" && name != "dir"));
        if (status == QV_S_OK && code == 0) {
            QV_REQUIRE(format >= 0 && format <= 3 && Complete(now, format));
        } else {
            QV_REQUIRE(now == was);
        }
        // No temporary stays: only the saved name may be new.
        std::set<std::string> after = Entries(folder.path);
        after.erase(name);
        QV_REQUIRE(std::ranges::includes(before, after));
        std::error_code ignored;  // the next save's slate
        if (name.size() > 4 && name != "kept.png") fs::remove(path, ignored);
    }

    ByteReader& in_;
    QvDispatch* control_ = nullptr;
};

}  // namespace
}  // namespace qv::fuzz

QV_FUZZ_SESSIONS(qv::fuzz::FilesSession)
