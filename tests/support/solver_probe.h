#pragma once

// What the tests of the solver service watch from outside: the process's threads, and
// whether the tables' file is mapped into it.
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

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
