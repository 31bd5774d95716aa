#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "solver/pattern_database.h"

// Reads the solver's pattern tables from a file. The same signature as
// solver::PatternDatabases::Load, so that a test can slow it down or refuse.
using TablesLoadFunction =
    std::function<std::unique_ptr<const solver::PatternDatabases>(const std::string& path, std::string* why)>;

// The solver's pattern tables, loaded on first use on a thread of their own and kept.
//
// The load (reading the file and checking its checksum and entries, some tens of
// milliseconds) cannot be stopped halfway, so no search does it on its own thread: a search
// waits for it, and a search that is cancelled stops waiting at once, while the load goes on
// for the next search. Nothing is read and no thread runs before the first await(). Any
// thread may call any member.
class TableLoader {
public:
    TableLoader(std::string path, TablesLoadFunction load);
    // Waits for a load under way.
    ~TableLoader();
    TableLoader(const TableLoader&) = delete;
    TableLoader& operator=(const TableLoader&) = delete;

    // The tables, once loaded; the first call starts the load. Null when they cannot be read
    // (`why` then says why), or when `cancel` is set before the load ends (within a
    // millisecond of it; `why` is then left alone).
    const solver::PatternDatabases* await(const std::atomic<bool>& cancel, std::string* why);

private:
    // Loads the tables and wakes the searches waiting for them.
    void loadNow();

    const std::string path_;
    const TablesLoadFunction load_;

    std::mutex mutex_;
    std::condition_variable loaded_;
    std::thread loader_;  // made by the first await()
    bool started_ = false;
    bool done_ = false;
    std::unique_ptr<const solver::PatternDatabases> tables_;
    std::string refusal_;
};
