#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/pattern_database.h"

// The solver's pattern tables for every search of the window: mapped once, by the first
// search that needs them, on a thread of their own, and kept for the run.
//
// The load (mapping the file and checking its checksum and entries, some tens of
// milliseconds) cannot be stopped halfway, so no search does it on its own thread: a search
// waits for it, and a search that is cancelled stops waiting at once, while the load goes
// on for the next search. Any thread may call any member.
class SharedTables {
public:
    using Loader =
        std::function<std::unique_ptr<const engine::PatternDatabases>(const std::string& path, std::string* why)>;

    explicit SharedTables(std::string path, Loader load = &loadFrom);
    // Waits for a load under way.
    ~SharedTables();
    SharedTables(const SharedTables&) = delete;
    SharedTables& operator=(const SharedTables&) = delete;

    // The tables, once loaded; the first call starts the load. Null when they cannot be
    // read, or when `cancel` is set before the load ends (within a millisecond of it).
    const engine::PatternDatabases* await(const std::atomic<bool>& cancel);

    // Why the tables cannot be read, the first time it is asked for after a refused load;
    // empty otherwise, so that the reason is said once however many searches meet it.
    std::string refusalToSay();

private:
    // Loads the tables and wakes the searches waiting for them.
    void loadNow();
    static std::unique_ptr<const engine::PatternDatabases> loadFrom(const std::string& path, std::string* why) {
        return engine::PatternDatabases::Load(path, why);
    }

    const std::string path_;
    const Loader load_;

    std::mutex mutex_;
    std::condition_variable loaded_;
    std::thread loader_;  // made by the first await()
    bool started_ = false;
    bool done_ = false;
    std::unique_ptr<const engine::PatternDatabases> tables_;
    std::string refusal_;
    bool refusalSaid_ = false;
};
