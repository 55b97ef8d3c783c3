// SPDX-License-Identifier: MIT
// Writes the Qt Quick item's properties as QML would, through the property system by name
// with values of any type, the queued drawing run by the event loop in between, and paints
// it into an image as the scene graph would, at scale factors of 1 to 2. Checks what the item
// promises: a write never draws and leaves the settings in their ranges; a drawing gives a
// result code with the error state that says it, or fails keeping the last size; a good
// drawing's implicit size is exactly what it paints; the bars are black and white pixels;
// a fitted module and render() paint inside their area; nothing is thrown.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QVariant>

#include <qvbarcode/QvBarCodeItem.h>
#include "FuzzInput.h"
#include "FuzzQtApplication.h"

// The item is built into this target without its QML module, whose registration no QML here
// needs.
void qml_register_types_QvBarCode() {}

namespace qv::fuzz {
namespace {

constexpr auto kNames = Words<17>(
    "text type checkDigit showValue whiteBackground quietZone moduleWidth autoModule barHeight "
    "errorFound errorDescription width height quietzone Text BarHeight ");

QVariant ConsumeVariant(ByteReader& in) {
    const int pick = in.InRange<int>(0, 6);
    if (pick == 0) return ConsumeInt32(in);
    if (pick == 1) return in.Bool();
    if (pick == 2) return QString::fromStdU16String(ConsumeText(in));
    if (pick == 3) {
        return std::array{
            0.5, 1.25, 3.0, -1.0, 0.0, 1e300, std::nan(""), HUGE_VAL, 40.0}[in.Byte() % 9];
    }
    if (pick == 4) return in.InRange<int>(0, 120) * 0.25;
    return pick == 5 ? QVariant(QByteArray("12")) : QVariant();
}

constexpr QRgb kMarker = qRgb(0x12, 0x34, 0x56);  // what nothing paints

// The bounds of what was painted over the marker, in device pixels; and whether every pixel
// painted is black or white.
std::pair<QRect, bool> Painted(const QImage& image) {
    QRect bounds;
    bool pure = true;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == kMarker) continue;
            bounds |= QRect(x, y, 1, 1);
            pure = pure && (row[x] == qRgb(0, 0, 0) || row[x] == qRgb(255, 255, 255));
        }
    }
    return {bounds, pure};
}

class ItemSession {
  public:
    explicit ItemSession(ByteReader& in) : in_(in) {
        QObject::connect(&item_, &QvBarCodeItem::drawn, [this](int code) { last_ = code; });
        QObject::connect(&item_, &QvBarCodeItem::failed, [this] { last_ = -1; });
    }

    void Run() {
        for (int step = 0; step < 24 && in_.remaining() > 0; ++step) {
            const int what = in_.InRange<int>(0, 8);
            if (what <= 4) Write();
            if (what == 5) RunEvents();
            if (what == 6) {
                const QSizeF before = ImplicitSize();
                CheckDrawn(item_.draw(), before);
            }
            if (what == 7) Paint();
            if (what == 8) Render();
        }
        RunEvents();
    }

  private:
    QSizeF ImplicitSize() const { return {item_.implicitWidth(), item_.implicitHeight()}; }

    void Write() {
        const std::string_view name = kNames[in_.Byte() % kNames.size()];
        const bool errorFound = item_.errorFound();
        item_.setProperty(std::string(name).c_str(), ConsumeVariant(in_));
        QV_REQUIRE(item_.errorFound() == errorFound);
        QV_REQUIRE(item_.quietZone() >= -1 && item_.barHeight() >= 0 &&
                   std::isfinite(item_.barHeight()) && item_.moduleWidth() > 0 &&
                   std::isfinite(item_.moduleWidth()));
    }

    // The queued drawing, if any, runs once.
    void RunEvents() {
        const QSizeF before = ImplicitSize();
        last_.reset();
        QCoreApplication::processEvents();
        if (last_) CheckDrawn(*last_, before);
        last_.reset();
        QCoreApplication::processEvents();
        QV_REQUIRE(!last_);
    }

    void CheckDrawn(int code, QSizeF before) {
        QV_REQUIRE(code == -1 || code == 0 || (code >= 1100 && code <= 1104));
        QV_REQUIRE(item_.errorFound() == (code != 0) &&
                   item_.errorDescription().isEmpty() == (code == 0));
        if (code != 0) QV_REQUIRE(ImplicitSize() == before);
        if (code == 0) drawn_ = {item_.whiteBackground(), item_.showValue()};
        if (code != 0) drawn_.reset();
    }

    // At the implicit size and scale 1, a good drawing fills the item exactly; fitted to any
    // area at any scale, it stays inside. The item is as large as the image or smaller.
    void Paint() {
        const double scale = std::array{1.0, 1.5, 2.0}[in_.Byte() % 3];
        const bool exact = drawn_ && !item_.autoModule() && scale == 1.0 && in_.Bool();
        QSizeF size(in_.InRange<int>(0, 400), in_.InRange<int>(0, 160));
        if (exact) size = ImplicitSize();
        if (size.width() * scale > 2000 || size.height() * scale > 500) return;
        item_.setSize(size);
        const QSize area(static_cast<int>(std::lround(size.width() * scale)),
                         static_cast<int>(std::lround(size.height() * scale)));
        QImage image(area + QSize(8, 8), QImage::Format_RGB32);
        image.fill(kMarker);
        {
            QPainter painter(&image);
            painter.translate(4, 4);
            painter.scale(scale, scale);
            item_.paint(&painter);
        }
        const auto [bounds, pure] = Painted(image);
        QV_REQUIRE(pure || !drawn_ || drawn_->second);
        // Without the white frame the quiet zone is left unpainted.
        const QRect own(QPoint(4, 4), area);
        if (exact && drawn_->first) QV_REQUIRE(bounds == own || area.isEmpty());
        if (exact || item_.autoModule()) QV_REQUIRE(own.contains(bounds) || bounds.isNull());
    }

    // render() paints what the item would draw into its target alone and changes nothing.
    void Render() {
        const QRect target(in_.InRange<int>(0, 40), in_.InRange<int>(0, 20),
                           in_.InRange<int>(0, 600), in_.InRange<int>(0, 200));
        QImage image(target.right() + 8, target.bottom() + 8, QImage::Format_RGB32);
        image.fill(kMarker);
        const QString description = item_.errorDescription();
        const QSizeF before = ImplicitSize();
        int code = 0;
        {
            QPainter painter(&image);
            code = item_.render(&painter, target, std::array{96.0, 300.0, 600.0}[in_.Byte() % 3]);
        }
        QV_REQUIRE(code == -1 || code == 0 || (code >= 1100 && code <= 1104));
        QV_REQUIRE(item_.errorDescription() == description);
        QV_REQUIRE(ImplicitSize() == before);
        const auto [bounds, pure] = Painted(image);
        QV_REQUIRE(code == 0 ? target.contains(bounds) || bounds.isNull() : bounds.isNull());
    }

    ByteReader& in_;
    QvBarCodeItem item_;
    std::optional<int> last_;
    std::optional<std::pair<bool, bool>> drawn_;  // a good last one: white frame, caption
};

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return qv::fuzz::StartQtApplication<QGuiApplication>("FuzzQuickItem");
}

QV_FUZZ_SESSIONS(qv::fuzz::ItemSession)
