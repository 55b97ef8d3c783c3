// SPDX-License-Identifier: MIT
// Writes the Qt widget's properties as a form, a script or Qt Designer would: through the Qt
// property system by name, in any letter case, with values of any type, the queued drawing
// run by the event loop in between. Checks what the widget promises: no failed call leaves it
// (a slot, a setter or the event loop), a write never draws, a drawing gives a result code
// with the error state that says it or fails keeping the control's error state while the
// widget's says it failed, and the widget is as large as its last good drawing, which is the
// control's own surface with a quiet zone beside it.
#include <QApplication>
#include <QByteArray>
#include <QMetaProperty>
#include <QVariant>

#include <qvbarcode/QvBarCodeWidget.h>
#include "FuzzHost.h"
#include "FuzzQtApplication.h"

namespace qv::fuzz {
namespace {

// The widget's own property names, others in another letter case, read-only ones and none.
constexpr auto kNames = Words<19>(
    "Text BarCodeType PositionX PositionY BarHeight BarWidth BarWidthSource BackgroundWhite "
    "ShowValue CalculateCheckDigit AutoDraw ErrorFound ErrorDescription quietZone text BARWIDTH "
    "objectName Nope ");

QVariant ConsumeVariant(ByteReader& in, bool height) {
    const int pick = in.InRange<int>(0, 7);
    if (pick == 0) return height ? ConsumeHeight(in) : ConsumeInt32(in);
    if (pick == 1) return in.Bool();
    if (pick == 2) return QString::fromStdU16String(ConsumeText(in));
    if (pick == 3) return std::array{0.5, 2.5, -1e10, 1e300, std::nan(""), 64.0}[in.Byte() % 6];
    if (pick == 4) return qlonglong{1} << in.InRange<int>(0, 62);
    if (pick == 5) return QByteArray("12");
    return pick == 6 ? QVariant::fromValue(in.Read<std::uint16_t>()) : QVariant();
}

// The control's error state, and the widget's size.
using Before = std::pair<ErrorState, QSize>;
Before StateOf(const QvBarCodeWidget& widget) {
    return {ErrorStateOf(widget.Control()), widget.size()};
}

// The result of a drawing, or -1 for a failed call, against the state before it.
void CheckDrawn(const QvBarCodeWidget& widget, int code, const Before& before) {
    QV_REQUIRE(code == -1 || code == 0 || (code >= 1100 && code <= 1104));
    QV_REQUIRE(widget.errorFound() == (code != 0) &&
               widget.errorDescription().isEmpty() == (code == 0));
    if (code == -1) QV_REQUIRE(ErrorStateOf(widget.Control()) == before.first);
    if (code != 0) {
        QV_REQUIRE(widget.size() == before.second);
        return;
    }
    const auto& pic = widget.Control().Pic1();
    QV_REQUIRE(widget.sizeHint().height() == pic.Height() &&
               widget.sizeHint().width() >= pic.Width());
    QV_REQUIRE(widget.size() == widget.sizeHint());
}

class WidgetSession {
  public:
    explicit WidgetSession(ByteReader& in) : in_(in) {
        QObject::connect(&widget_, &QvBarCodeWidget::drawn, [this](int code) { last_ = code; });
        QObject::connect(&widget_, &QvBarCodeWidget::failed, [this] { last_ = -1; });
    }

    void Run() {
        for (int step = 0; step < 32 && in_.remaining() > 0; ++step) {
            const int what = in_.InRange<int>(0, 7);
            if (what <= 4) Write();
            if (what == 5) RunEvents();
            if (what == 6) {
                const Before before = StateOf(widget_);
                CheckDrawn(widget_, widget_.Draw(), before);
            }
            if (what == 7) {
                // What the own surface shows, at its size (Qt has no empty pictures).
                const auto& pic = widget_.Control().Pic1();
                const QSize size(pic.Width(), pic.Height());
                QV_REQUIRE(widget_.Picture().size() == size || size.isEmpty());
            }
        }
        RunEvents();
    }

  private:
    void Write() {
        const std::string_view word = kNames[in_.Byte() % kNames.size()];
        const QByteArray name(word.data(), static_cast<qsizetype>(word.size()));
        const QVariant value = ConsumeVariant(in_, word == "BarHeight");
        const int index = widget_.metaObject()->indexOfProperty(name.constData());
        const QMetaProperty property = widget_.metaObject()->property(index);
        const Before before = StateOf(widget_);
        const bool errorFound = widget_.errorFound();
        const bool written = widget_.setProperty(name.constData(), value);
        // Only a property that can be written takes a value; writing never draws.
        QV_REQUIRE(!written || (index >= 0 && property.isWritable()));
        QV_REQUIRE(ErrorStateOf(widget_.Control()) == before.first &&
                   widget_.errorFound() == errorFound);
    }

    // The queued drawing, if any, runs once: one result or one failure.
    void RunEvents() {
        const Before before = StateOf(widget_);
        last_.reset();
        QCoreApplication::processEvents();
        if (last_) CheckDrawn(widget_, *last_, before);
        last_.reset();
        QCoreApplication::processEvents();
        QV_REQUIRE(!last_);
    }

    ByteReader& in_;
    QvBarCodeWidget widget_;
    std::optional<int> last_;
};

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return qv::fuzz::StartQtApplication<QApplication>("FuzzWidget");
}

QV_FUZZ_SESSIONS(qv::fuzz::WidgetSession)
