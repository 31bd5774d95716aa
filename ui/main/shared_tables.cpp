#include "shared_tables.h"

#include <chrono>
#include <utility>

namespace {

// How often a search waiting for the load looks at its cancel flag.
constexpr std::chrono::milliseconds kCancelPoll(1);

}  // namespace

SharedTables::SharedTables(std::string path, Loader load) : path_(std::move(path)), load_(std::move(load)) {}

SharedTables::~SharedTables() {
    if (loader_.joinable()) loader_.join();
}

const engine::PatternDatabases* SharedTables::await(const std::atomic<bool>& cancel) {
    std::unique_lock lock(mutex_);
    if (!loader_.joinable() && !done_) {
        loader_ = std::thread([this] {
            std::string why;
            auto tables = load_(path_, &why);
            {
                const std::lock_guard guard(mutex_);
                tables_ = std::move(tables);
                if (!tables_) refusal_ = why.empty() ? path_ + ": cannot be read" : why;
                done_ = true;
            }
            loaded_.notify_all();
        });
    }
    while (!done_) {
        if (cancel.load()) return nullptr;
        loaded_.wait_for(lock, kCancelPoll);
    }
    return tables_.get();
}

std::string SharedTables::refusalToSay() {
    const std::lock_guard lock(mutex_);
    if (!done_ || tables_ || std::exchange(refusalSaid_, true)) return {};
    return refusal_;
}
