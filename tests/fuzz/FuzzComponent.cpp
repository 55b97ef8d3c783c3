// SPDX-License-Identifier: MIT
// Hosts the component through its C exports alone: surfaces over the host's memory of any
// size, stride and format, released while the control may still hold them, and a site whose
// callbacks fail wherever the input says. Checks what the exports promise: a failure is a
// status, never an exception; a failed Draw leaves the error state as it was and a callback's
// failure is never swallowed; drawing writes only the pixels a surface describes (not row
// padding, not the fourth byte); a released handle names nothing; nothing stays alive.

#include "FuzzComponentControl.h"

namespace qv::fuzz {
namespace {

constexpr std::uint8_t kCanary = 0xA5;
constexpr std::int32_t kDrawId = 0x6003000D;
constexpr std::int32_t kNoSurface = -1;  // Draw's own surface; no handle

// A host's site, through its C callbacks: each counts its calls and fails at the one the
// input names; the size the host keeps may be anything a float holds.
struct HostSite {
    int calls = 0, failAt = -1, failures = 0;
    float width = 2190.0f, height = 1140.0f;
    std::string language = "English";

    std::int32_t Answer() {
        const bool fail = calls++ == failAt;
        failures += fail;
        return fail ? -7 : 0;
    }
    static HostSite& Of(void* context) { return *static_cast<HostSite*>(context); }
    // The inner size a host with 15 units per pixel reports for an outer one.
    static std::int32_t Pixels(float outer) {
        const float pixels = outer / 15.0f;
        return std::isfinite(pixels) ? static_cast<std::int32_t>(std::clamp(pixels, -1e6f, 1e6f))
                                     : 0;
    }

    // The callbacks the mask names (bit i for the i-th), so that a site may lack any of them.
    static QvControlSite Callbacks(unsigned mask, float unitsPerPixel) {
        QvControlSite site{};
        if (mask & 1) site.propertyChanged = [](void* c, const char*) { return Of(c).Answer(); };
        if (mask & 2) site.setDisplaySetting = [](void* c, std::int16_t) { return Of(c).Answer(); };
        if (mask & 4) site.processPendingEvents = [](void* c) { return Of(c).Answer(); };
        if (mask & 8) {
            site.getOuterSize = [](void* c, float* w, float* h) {
                *w = Of(c).width;
                *h = Of(c).height;
                return Of(c).Answer();
            };
        }
        if (mask & 16) {
            site.setOuterSize = [](void* c, float w, float h) {
                Of(c).width = w;
                Of(c).height = h;
                return Of(c).Answer();
            };
        }
        if (mask & 32) {
            site.getInnerSize = [](void* c, std::int32_t* w, std::int32_t* h) {
                *w = Pixels(Of(c).width);
                *h = Pixels(Of(c).height);
                return Of(c).Answer();
            };
        }
        if (mask & 64) {
            // Fills the whole buffer it is given, terminated or not.
            site.getLanguageName = [](void* c, char* name, std::uint32_t capacity) {
                const std::string& language = Of(c).language;
                for (std::uint32_t i = 0; i < capacity; ++i) {
                    name[i] = i < language.size() ? language[i] : 'x';
                }
                return Of(c).Answer();
            };
        }
        site.unitsPerPixel = unitsPerPixel;
        return site;
    }
};

// A surface over the host's memory, with room around the pixels it describes: everything
// outside them (the row padding, the fourth byte, the bytes around) must stay as it was.
struct HostSurface {
    std::int32_t width = 0, height = 0, stride = 0, bits = 24;
    std::vector<std::uint8_t> memory;  // canary, then the rows
    std::int32_t handle = kNoSurface;

    static constexpr std::size_t kRoom = 16;
    std::size_t RowBytes() const { return static_cast<std::size_t>(width) * (bits / 8); }
    std::size_t Span() const {
        return height == 0 ? 0 : std::size_t(std::abs(stride)) * (height - 1) + RowBytes();
    }
    // The lowest address of the rows; a bottom-up surface's first row is its last.
    std::uint8_t* Lowest() { return memory.data() + kRoom; }
    bool IsPixel(std::size_t offset) const {
        const std::size_t distance = std::abs(stride);
        if (offset < kRoom || offset >= kRoom + Span()) return false;
        const std::size_t inRow = (offset - kRoom) % distance;
        return inRow < RowBytes() && (bits == 24 || inRow % 4 != 3);
    }
    void CheckOnlyPixelsWritten() const {
        for (std::size_t i = 0; i < memory.size(); ++i) {
            QV_REQUIRE(memory[i] == kCanary || IsPixel(i));
        }
    }
};

class ComponentSession {
  public:
    explicit ComponentSession(ByteReader& in) : in_(in), control_(CreateComponentControl()) {}
    ~ComponentSession() {
        for (HostSurface& surface : surfaces_) {
            if (surface.handle != kNoSurface) QvSurfaceRelease(surface.handle);
        }
        control_->vtbl->Release(control_);
        // Every object and surface released: nothing keeps the library loaded.
        QV_REQUIRE(DllCanUnloadNow() == QV_S_OK);
    }

    void Run() {
        for (int step = 0; step < 32 && in_.remaining() > 0; ++step) {
            const int what = in_.InRange<int>(0, 9);
            if (what == 0) Site();
            if (what == 1) CreateSurface();
            if (what == 2) ReleaseSurface();
            if (what >= 3 && what <= 5) SetProperty();
            if (what >= 6) Draw();
        }
    }

  private:
    QvStatus Invoke(std::int32_t id, std::uint16_t kind, QvVariant* arguments, std::uint32_t count,
                    QvVariant* result = nullptr) {
        QvCallError error{};
        error.description[0] = 'x';
        const QvStatus status =
            control_->vtbl->Invoke(control_, id, kind, arguments, count, result, &error);
        // A failure says so in the error block, its description a terminated string.
        QV_REQUIRE(status == QV_S_OK || (status < 0 && error.status == status &&
                                         std::memchr(error.description, 0, 256) != nullptr));
        return status;
    }
    QvVariant Get(std::int32_t id) {
        QvVariant value{};
        QV_REQUIRE(Invoke(id, QV_DISPATCH_PROPERTYGET, nullptr, 0, &value) == QV_S_OK);
        return value;
    }
    static std::u16string TakeText(QvVariant value) {
        std::u16string text(reinterpret_cast<const char16_t*>(value.text), value.textLength);
        QvVariantClear(&value);
        return text;
    }
    std::pair<std::int16_t, std::u16string> ErrorState() {
        return {Get(0x68030002).i2, TakeText(Get(0x68030001))};
    }

    // A new site, or the library's own again; a site that gives only some of the size
    // callbacks, or units per pixel that are no positive number, is refused.
    void Site() {
        const unsigned mask = in_.Byte() & 0x7F;
        const float units = std::array{0.0f, 15.0f, 1.0f, -1.0f, NAN, INFINITY}[in_.Byte() % 6];
        const bool sizes = (mask & 56) == 0 || (mask & 56) == 56;
        const bool valid = sizes && (units == 0.0f || (units > 0.0f && std::isfinite(units)));
        site_.failAt = in_.Bool() ? -1 : site_.calls + in_.InRange<int>(0, 6);
        site_.width = std::array{2190.0f, 0.0f, -15.0f, 1e30f, NAN}[in_.Byte() % 5];
        site_.language = in_.Bool() ? "Spanish" : std::string(255, 'S');
        const QvControlSite callbacks = HostSite::Callbacks(mask, units);
        const bool given = in_.Bool();  // else the library's own site again
        const QvStatus status = QvControlSetSite(control_, given ? &callbacks : nullptr, &site_);
        QV_REQUIRE((status == QV_S_OK) == (!given || valid) && status <= 0);
    }

    void CreateSurface() {
        HostSurface surface;
        surface.width = in_.Bool() ? in_.InRange<std::int32_t>(0, 40) : ConsumeInt32(in_);
        surface.height = in_.Bool() ? in_.InRange<std::int32_t>(0, 20) : ConsumeHeight(in_);
        surface.bits = std::array{24, 32, 24, 16, 0}[in_.Byte() % 5];
        const std::int64_t row = std::int64_t{surface.width} * (surface.bits / 8);
        const std::int64_t stride = row + in_.InRange<int>(-2, 6);
        surface.stride = static_cast<std::int32_t>(in_.Bool() ? -stride : stride);
        // What the documented layout allows, within 64 million pixels (an empty surface
        // counts as one pixel wide); only such rows are given memory.
        const bool valid = (surface.bits == 24 || surface.bits == 32) && surface.width >= 0 &&
                           surface.height >= 0 && std::abs(std::int64_t{surface.stride}) >= row &&
                           stride <= INT32_MAX &&
                           std::int64_t{std::max(surface.width, 1)} * std::max(surface.height, 1) <=
                               std::int64_t{64} * 1024 * 1024;
        if (valid && (surface.Span() > (1u << 20) || surface.width > 4096)) return;  // too costly
        surface.memory.assign((valid ? surface.Span() : 0) + 2 * HostSurface::kRoom, kCanary);
        const QvStatus status = QvSurfaceCreate(surface.Lowest(), surface.width, surface.height,
                                                surface.stride, surface.bits, &surface.handle);
        QV_REQUIRE((status == QV_S_OK) == valid &&
                   (status == QV_S_OK) == (surface.handle != kNoSurface));
        if (status != QV_S_OK) return;
        std::int32_t width = -1, height = -1;
        QV_REQUIRE(QvSurfaceGetSize(surface.handle, &width, &height) == QV_S_OK);
        QV_REQUIRE(width == surface.width && height == surface.height);
        surface.CheckOnlyPixelsWritten();
        surfaces_.push_back(std::move(surface));
    }

    // The host takes its memory back at once: a drawing must not reach it any more.
    void ReleaseSurface() {
        if (surfaces_.empty()) return;
        HostSurface& surface = surfaces_[in_.Byte() % surfaces_.size()];
        const QvStatus status = QvSurfaceRelease(surface.handle);
        QV_REQUIRE((status == QV_S_OK) == (surface.handle != kNoSurface));
        std::int32_t width = 0, height = 0;
        QV_REQUIRE(QvSurfaceGetSize(surface.handle, &width, &height) != QV_S_OK);
        if (status == QV_S_OK) released_.push_back(surface.handle);
        surface.handle = kNoSurface;
        surface.memory = {};
    }

    // A property by its dispatch id: Text, BarCodeType, positions, sizes and Booleans.
    void SetProperty() {
        const std::int32_t id = 0x68030000 + in_.InRange<std::int32_t>(3, 11);
        std::u16string text;
        QvVariant value{QV_VT_I4, 0, 0, nullptr, 0};
        if (id == 0x6803000B) {
            text = ConsumeText(in_);
            value = {QV_VT_BSTR, 0, 0, reinterpret_cast<std::uint16_t*>(text.data()),
                     static_cast<std::uint32_t>(text.size())};
        } else if (id <= 0x68030005) {
            value = {QV_VT_BOOL, ConsumeBool(in_), 0, nullptr, 0};
        } else {
            value.i4 = id == 0x68030007 ? ConsumeHeight(in_) : ConsumeInt32(in_);
        }
        const int failures = site_.failures;
        const QvStatus status = Invoke(id, QV_DISPATCH_PROPERTYPUT, &value, 1);
        // A refused notification fails the setter, after the value is stored.
        QV_REQUIRE((status == QV_S_OK) == (site_.failures == failures));
    }

    // Draw on the own surface, a host surface, a released one, or a handle never given
    // (handles count up from 1).
    void Draw() {
        std::int32_t handle = kNoSurface;
        const int pick = in_.InRange<int>(0, 3);
        if (pick == 1 && !surfaces_.empty())
            handle = surfaces_[in_.Byte() % surfaces_.size()].handle;
        if (pick == 2 && !released_.empty()) handle = released_[in_.Byte() % released_.size()];
        if (pick == 3) handle = in_.Bool() ? 0 : -2 - in_.Byte();
        const bool stale = handle != kNoSurface &&
                           std::ranges::none_of(
                               surfaces_, [&](const HostSurface& s) { return s.handle == handle; });
        const auto before = ErrorState();
        const int failures = site_.failures;
        QvVariant argument{QV_VT_I4, 0, handle, nullptr, 0}, result{};
        const QvStatus status = Invoke(kDrawId, QV_DISPATCH_METHOD, &argument, 1, &result);
        for (const HostSurface& surface : surfaces_) {
            if (surface.handle != kNoSurface) surface.CheckOnlyPixelsWritten();
        }
        const auto after = ErrorState();
        QV_REQUIRE(after.first == 0 || after.first == -1);
        if (status != QV_S_OK) {
            QV_REQUIRE(after == before);  // a failed call leaves the error state as it was
            return;
        }
        // A host's failure always fails the call; a handle that names nothing too, unless
        // the text was refused before any surface was looked at.
        QV_REQUIRE(site_.failures == failures);
        QV_REQUIRE(result.vt == QV_VT_I2 &&
                   (result.i2 == 0 || (result.i2 >= 1100 && result.i2 <= 1104)));
        QV_REQUIRE((after.first == -1) == (result.i2 != 0));
        QV_REQUIRE(!stale || result.i2 != 0);
    }

    ByteReader& in_;
    QvDispatch* control_ = nullptr;
    HostSite site_;
    std::vector<HostSurface> surfaces_;
    std::vector<std::int32_t> released_;
};

}  // namespace
}  // namespace qv::fuzz

QV_FUZZ_SESSIONS(qv::fuzz::ComponentSession)
