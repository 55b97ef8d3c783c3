#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "SerialWorker.h"

namespace qv::cli {
namespace {

// Tasks run in posting order even when the producer outruns the queue, a failing task does
// not stop those after it, and Finish hands its exception back to the producer.
TEST(SerialWorker, RunsEveryTaskInOrderAndReportsTheFirstFailure) {
    std::vector<int> ran;
    SerialWorker worker(2);
    for (int i = 0; i < 100; ++i) {
        worker.Post([&ran, i] {
            ran.push_back(i);
            if (i == 10 || i == 20) throw std::runtime_error("task " + std::to_string(i));
        });
    }
    try {
        worker.Finish();
        ADD_FAILURE() << "the failure was lost";
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "task 10");
    }
    ASSERT_EQ(ran.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(ran[i], i);
    worker.Post([&ran] { ran.push_back(100); });
    worker.Finish();  // the failure was reported once
    EXPECT_EQ(ran.back(), 100);
}

}  // namespace
}  // namespace qv::cli
