#pragma once

// What the tests of the solver service watch from outside: the process's threads, and
// whether the tables are held in it.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

// Starts and ends one thread, so that a helper thread the run-time starts with the first
// thread of a process (ThreadSanitizer's) is there before threads are counted.
inline void startTheRunTimesThreads() {
    std::thread([] {}).join();
}

// How many threads this process runs.
inline int threadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task")) ++count;
    return count;
}

// Whether the tables' file at `path` is held by this process: read into memory of its own,
// read-only, anonymous and at least as large as the file.
inline bool tablesHeld(const std::string& path) {
    const std::uintmax_t fileBytes = std::filesystem::file_size(path);
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, name;
        fields >> range >> perms >> offset >> device >> inode >> name;
        if (perms != "r--p" || inode != "0" || !name.empty()) continue;
        const std::size_t dash = range.find('-');
        const std::uintmax_t from = std::stoull(range.substr(0, dash), nullptr, 16);
        const std::uintmax_t to = std::stoull(range.substr(dash + 1), nullptr, 16);
        if (to - from >= fileBytes) return true;
    }
    return false;
}
