#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace qv::cli {

// Runs tasks on a thread of its own, one after another in the order they were posted, so
// that a batch can draw the next picture while the last one is being written. Post waits
// while `capacity` tasks are queued: memory stays bounded however fast the producer is.
// Each side sleeps until half the queue has changed, not after every task: waking a thread
// costs about as much as writing a small file.
class SerialWorker {
  public:
    explicit SerialWorker(std::size_t capacity);
    // Runs what is still queued, then ends the thread.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void Post(std::function<void()> task);
    // Waits until every posted task has run; rethrows the first exception a task raised.
    void Finish();

  private:
    void Run();
    bool Idle() const { return tasks_.empty() && !running_; }

    std::mutex mutex_;
    std::condition_variable workToDo_;    // the worker waits here
    std::condition_variable roomOrDone_;  // Post and Finish wait here
    std::deque<std::function<void()>> tasks_;
    std::size_t capacity_;
    std::size_t half_;
    bool running_ = false;   // a task taken off the queue is still running
    bool draining_ = false;  // Finish or the destructor wants every task run now
    bool stopping_ = false;
    bool workerWaiting_ = false;
    bool producerWaiting_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace qv::cli
