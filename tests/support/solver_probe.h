#pragma once

// What the tests of the solver service watch from outside: the process's threads, whether
// the tables' file is mapped into it, and a stand-in search that the test ends. For tests
// that link the service.
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "solving/solver_service.h"

// Starts and ends one thread, so that a helper thread the run-time starts with the first
// thread of a process (ThreadSanitizer's) is there before threads are counted.
inline void startTheRunTimesThreads() { std::thread([] {}).join(); }

// How many threads this process runs.
inline int threadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task")) ++count;
    return count;
}

// Whether the file at `path` is mapped into this process.
inline bool fileMapped(const std::string& path) {
    std::ifstream maps("/proc/self/maps");
    const std::string file = std::filesystem::path(path).filename();
    for (std::string line; std::getline(maps, line);) {
        if (line.find(file) != std::string::npos) return true;
    }
    return false;
}

// A search that the test ends: it answers `length` moves once released, and counts the
// searches under way, the most at once and those cancelled.
struct HeldSearch {
    int length = 6;
    std::atomic<bool> released{false};
    std::atomic<int> running{0}, most{0}, cancelled{0};

    SolveFunction solver() {
        return [this](const engine::Grid&, const engine::PatternDatabases&, const std::atomic<bool>& cancel,
                      std::atomic<int>*) {
            const int now = ++running;
            for (int seen = most.load(); now > seen && !most.compare_exchange_weak(seen, now);) {
            }
            while (!released.load() && !cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            --running;
            if (!released.load()) {
                ++cancelled;
                return engine::Solution{};
            }
            return engine::Solution{engine::SolveOutcome::Solved, std::vector<std::uint8_t>(static_cast<std::size_t>(length)), 0};
        };
    }
};
