#include "SerialWorker.h"

#include <utility>

namespace qv::cli {

SerialWorker::SerialWorker(std::size_t capacity)
    : capacity_(capacity == 0 ? 1 : capacity), thread_([this] { Run(); }) {}

SerialWorker::~SerialWorker() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SerialWorker::Post(std::function<void()> task) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return tasks_.size() < capacity_; });
    tasks_.push_back(std::move(task));
    lock.unlock();
    changed_.notify_all();
}

void SerialWorker::Finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return tasks_.empty() && !running_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void SerialWorker::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !tasks_.empty() || stopping_; });
        if (tasks_.empty()) return;
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        running_ = true;
        lock.unlock();
        changed_.notify_all();
        try {
            task();
        } catch (...) {
            const std::lock_guard failureLock(mutex_);
            if (!failure_) failure_ = std::current_exception();
        }
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

}  // namespace qv::cli
