#include "helper_thread.h"

#include <system_error>
#include <utility>

HelperThread::~HelperThread() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    posted_.notify_one();
    thread_.join();
}

bool HelperThread::Start(std::function<void()> work) {
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            return false;
        }
    }
    {
        const std::lock_guard lock(mutex_);
        work_ = std::move(work);
        busy_ = true;
    }
    posted_.notify_one();
    return true;
}

void HelperThread::Wait() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !busy_; });
}

void HelperThread::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        // Work started before the destructor still runs, so that Wait() returns.
        posted_.wait(lock, [this] { return quit_ || work_; });
        if (!work_) return;
        const std::function<void()> work = std::exchange(work_, nullptr);
        lock.unlock();
        work();
        lock.lock();
        busy_ = false;
        done_.notify_one();
    }
}
