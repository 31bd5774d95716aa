#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "solver/solver.h"

// The second thread a search shares its longest iterations with: made by the first Start()
// and ended by the destructor, so that a search that has one of its own leaves nothing
// running after it. Start() and Wait() are called from one thread, the search's.
class HelperThread final : public solver::Worker {
public:
    HelperThread() = default;
    // Waits for the work under way, then ends the thread.
    ~HelperThread() override;
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    bool Start(std::function<void()> work) override;
    void Wait() override;

private:
    // The thread's life: it waits for each piece of work, runs it, reports it done.
    void Run();

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable posted_, done_;
    std::function<void()> work_;  // started and not yet taken by the thread
    bool busy_ = false;           // from Start() until the work has ended
    bool quit_ = false;
};
