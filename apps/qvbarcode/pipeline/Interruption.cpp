// SPDX-License-Identifier: MIT
#include "pipeline/Interruption.h"

#include <atomic>
#include <csignal>

#include <qvbarcode/imagefile/AtomicFile.h>

namespace qv::cli {

namespace {

std::atomic<int> interruption{0};
static_assert(std::atomic<int>::is_always_lock_free, "read and written in a signal handler");

extern "C" void AskToStop(int signal) {
    if (interruption.exchange(signal) == 0) return;
    imagefile::RemoveUnfinishedFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void StopBatchOnSignals() {
    struct sigaction action {};
    action.sa_handler = AskToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // reading the list goes on; the batch checks between records
    for (const int signal : {SIGINT, SIGTERM}) sigaction(signal, &action, nullptr);
}

int Interruption() {
    return interruption.load(std::memory_order_relaxed);
}

}  // namespace qv::cli
