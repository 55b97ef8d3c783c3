// SPDX-License-Identifier: MIT
// A control belongs to the thread that made it. One thread setting Text while another drew
// the same control used to crash; now the other thread's calls raise the wrong-thread failed
// call before they read or write anything (ThreadSanitizer would see it), and controls of
// their own on threads of their own draw side by side. (Every call refused: tests/component.)
#include <gtest/gtest.h>

#include <array>
#include <latch>
#include <thread>
#include <vector>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/FailedCall.h>

namespace qv::control {
namespace {

// Two threads draw 10,000 times each with a control of their own, changing its text between
// drawings, and each sets the text of the other's control as it draws: every drawing of its own
// succeeds, every call on the other's is refused, and the last pictures are the ones a twin
// draws.
TEST(OwnerThread, EachThreadDrawsItsOwnControlAndIsRefusedTheOthers) {
    std::array<QvBarCode*, 2> controls{};
    std::array<std::array<int, 3>, 2> counts{};  // own failures, refused, others not refused
    std::array<std::vector<std::uint8_t>, 2> last;
    std::latch made(2), finished(2);
    auto run = [&](std::size_t me) {
        QvBarCode own;
        own.SetBarWidthSource(kTrue);
        controls[me] = &own;
        made.arrive_and_wait();
        for (int i = 0; i < 10000; ++i) {
            own.SetText(i % 2 ? u"1234567890" : u"0987654321");
            counts[me][0] += own.Draw().AsInt16() != 0;
            try {
                controls[1 - me]->SetText(u"12a");
                ++counts[me][2];
            } catch (const host::FailedCall& failure) {
                ++counts[me][failure.reason() == host::FailureReason::WrongThread ? 1 : 2];
            }
        }
        last[me] = own.Pic1().Image().ContiguousPixels();
        finished.arrive_and_wait();
    };
    std::thread second(run, 1);
    run(0);
    second.join();
    QvBarCode twin;
    twin.SetBarWidthSource(kTrue);
    twin.SetText(u"1234567890");
    ASSERT_EQ(twin.Draw().AsInt16(), 0);
    const std::array<int, 3> expected{0, 10000, 0};
    EXPECT_EQ(counts, (std::array{expected, expected}));
    for (const auto& pixels : last) EXPECT_EQ(pixels, twin.Pic1().Image().ContiguousPixels());
}

}  // namespace
}  // namespace qv::control
