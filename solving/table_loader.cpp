#include "table_loader.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace {

// How often a search waiting for the load looks at its cancel flag.
constexpr std::chrono::milliseconds kCancelPoll(1);

}  // namespace

TableLoader::TableLoader(std::string path, TablesLoadFunction load) : path_(std::move(path)), load_(std::move(load)) {}

TableLoader::~TableLoader() {
    if (loader_.joinable()) loader_.join();
}

void TableLoader::loadNow() {
    std::string why;
    auto tables = load_(path_, &why);
    {
        const std::lock_guard lock(mutex_);
        tables_ = std::move(tables);
        if (!tables_) refusal_ = why.empty() ? path_ + ": cannot be read" : why;
        done_ = true;
    }
    loaded_.notify_all();
}

const solver::PatternDatabases* TableLoader::await(const std::atomic<bool>& cancel, std::string* why) {
    std::unique_lock lock(mutex_);
    if (!started_) {
        started_ = true;
        try {
            loader_ = std::thread([this] { loadNow(); });
        } catch (const std::system_error&) {  // no thread to be had: this one loads them
            lock.unlock();
            loadNow();
            lock.lock();
        }
    }
    while (!done_) {
        if (cancel.load()) return nullptr;
        loaded_.wait_for(lock, kCancelPoll);
    }
    if (!tables_ && why) *why = refusal_;
    return tables_.get();
}
