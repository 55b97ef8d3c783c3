// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>

namespace qv::cli {

// The stages of work that must keep its order although it runs on several threads.
struct OrderedStages {
    // Fills the slot with the next chunk of the input; false once the input has ended (the
    // chunk may still hold its last items). One thread at a time, in the input's order.
    std::function<bool(std::size_t slot)> read;
    // Works on the chunk in the slot, on the thread numbered `thread` (0 to threads - 1).
    std::function<void(std::size_t slot, std::size_t thread)> work;
    // Sees the chunk in the slot once every chunk read before it has been seen; one at a time.
    std::function<void(std::size_t slot)> report;
    // How many threads the work may go on with, when it can lower it: a thread numbered as
    // many or more takes no new chunk. Unset for all of them.
    const std::atomic<std::size_t>* threadsAllowed = nullptr;
};

// Runs the stages on `threads` threads, the caller's among them; 1 runs everything on the
// caller's, one stage after another. Each thread reads a chunk, works on it and reports
// whatever has become due: threads wait only for one another's reading, or when `slots`
// chunks are on their way and the oldest is not done, so memory is bounded whatever the
// input's length and no thread is woken once per item. Returns once every chunk read has
// been reported; an exception from a stage ends the run and is raised again here.
void RunInOrder(std::size_t threads, std::size_t slots, const OrderedStages& stages);

}  // namespace qv::cli
