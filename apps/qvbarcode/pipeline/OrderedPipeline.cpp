// SPDX-License-Identifier: MIT
#include "pipeline/OrderedPipeline.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace qv::cli {

namespace {

class Pipeline {
  public:
    Pipeline(std::size_t slots, const OrderedStages& stages)
        : stages_(stages), slots_(slots), done_(slots, false) {}

    // One thread's share, until the input ends or a stage fails.
    void Run(std::size_t thread) noexcept {
        try {
            Loop(thread);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!failure_) failure_ = std::current_exception();
            ended_ = true;
            wake_.notify_all();
        }
    }

    void RaiseFailure() const {
        if (failure_) std::rethrow_exception(failure_);
    }

  private:
    void Loop(std::size_t thread) {
        std::unique_lock lock(mutex_);
        for (;;) {
            WaitUntil(lock, [this, thread] {
                return ended_ || Unwanted(thread) || (!reading_ && next_ < reported_ + slots_);
            });
            if (ended_ || Unwanted(thread)) return;
            reading_ = true;
            const std::size_t slot = next_++ % slots_;
            lock.unlock();
            const bool more = stages_.read(slot);
            lock.lock();
            reading_ = false;
            ended_ = ended_ || !more;
            WakeWaiting();
            lock.unlock();
            stages_.work(slot, thread);
            lock.lock();
            done_[slot] = true;
            ReportDue(lock);
        }
    }

    bool Unwanted(std::size_t thread) const {
        return thread > 0 && stages_.threadsAllowed != nullptr &&
               thread >= stages_.threadsAllowed->load(std::memory_order_relaxed);
    }

    // Reports the chunks due, unless another thread already is: it sees this one's too.
    void ReportDue(std::unique_lock<std::mutex>& lock) {
        if (reporting_) return;
        reporting_ = true;
        // A slot holds no chunk after the oldest unreported one's slots-1 successors, so a
        // done slot at the oldest's place is the oldest.
        while (!failure_ && done_[reported_ % slots_]) {
            const std::size_t slot = reported_ % slots_;
            lock.unlock();
            stages_.report(slot);
            lock.lock();
            done_[slot] = false;
            ++reported_;
            WakeWaiting();
        }
        reporting_ = false;
    }

    template <typename Ready>
    void WaitUntil(std::unique_lock<std::mutex>& lock, Ready ready) {
        if (ready()) return;
        ++waiting_;
        wake_.wait(lock, ready);
        --waiting_;
    }

    void WakeWaiting() {
        if (waiting_ > 0) wake_.notify_all();
    }

    const OrderedStages& stages_;
    const std::size_t slots_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<bool> done_;  // by slot: worked on, not yet reported
    std::uint64_t next_ = 0;  // the next chunk to read
    std::uint64_t reported_ = 0;
    std::size_t waiting_ = 0;
    bool reading_ = false;
    bool reporting_ = false;
    bool ended_ = false;
    std::exception_ptr failure_;
};

}  // namespace

void RunInOrder(std::size_t threads, std::size_t slots, const OrderedStages& stages) {
    Pipeline pipeline(std::max<std::size_t>(slots, 1), stages);
    {
        std::vector<std::jthread> helpers;
        for (std::size_t thread = 1; thread < threads; ++thread) {
            try {
                helpers.emplace_back([&pipeline, thread] { pipeline.Run(thread); });
            } catch (const std::system_error&) {
                break;  // the system gives no more threads: those running do the work
            }
        }
        pipeline.Run(0);
    }
    pipeline.RaiseFailure();
}

}  // namespace qv::cli
