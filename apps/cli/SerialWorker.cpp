#include "SerialWorker.h"

#include <utility>

namespace qv::cli {

SerialWorker::SerialWorker(std::size_t capacity)
    : capacity_(capacity == 0 ? 1 : capacity),
      half_((capacity_ + 1) / 2),
      thread_([this] { Run(); }) {}

SerialWorker::~SerialWorker() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        draining_ = true;
    }
    workToDo_.notify_one();
    thread_.join();
}

void SerialWorker::Post(std::function<void()> task) {
    std::unique_lock lock(mutex_);
    if (tasks_.size() >= capacity_) {
        producerWaiting_ = true;
        roomOrDone_.wait(lock, [this] { return tasks_.size() < half_; });
        producerWaiting_ = false;
    }
    tasks_.push_back(std::move(task));
    const bool wake = workerWaiting_ && tasks_.size() >= half_;
    lock.unlock();
    if (wake) workToDo_.notify_one();
}

void SerialWorker::Finish() {
    std::unique_lock lock(mutex_);
    draining_ = true;
    if (workerWaiting_) workToDo_.notify_one();
    producerWaiting_ = true;
    roomOrDone_.wait(lock, [this] { return Idle(); });
    producerWaiting_ = false;
    draining_ = false;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void SerialWorker::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (tasks_.empty() || (tasks_.size() < half_ && !draining_)) {
            if (tasks_.empty() && producerWaiting_) roomOrDone_.notify_one();
            if (tasks_.empty() && stopping_) return;
            workerWaiting_ = true;
            workToDo_.wait(lock, [this] {
                return tasks_.size() >= half_ || (draining_ && !tasks_.empty()) || stopping_;
            });
            workerWaiting_ = false;
            continue;
        }
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        running_ = true;
        const bool wake = producerWaiting_ && tasks_.size() < half_ && !draining_;
        lock.unlock();
        if (wake) roomOrDone_.notify_one();
        try {
            task();
        } catch (...) {
            const std::lock_guard failureLock(mutex_);
            if (!failure_) failure_ = std::current_exception();
        }
        lock.lock();
        running_ = false;
    }
}

}  // namespace qv::cli
