#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Calls `expire` from a thread of its own once the deadline has passed, unless stop() came first: the way to
// cut short a blocking call that has no deadline of its own but ends when another thread closes its handle.
class DeadlineWatchdog {
public:
    DeadlineWatchdog(std::chrono::steady_clock::time_point deadline, std::function<void()> expire);
    ~DeadlineWatchdog();
    DeadlineWatchdog(const DeadlineWatchdog&) = delete;
    DeadlineWatchdog& operator=(const DeadlineWatchdog&) = delete;

    // Ends the watch; true when `expire` was called, which has then returned.
    bool stop();

private:
    std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    bool expired = false;
    std::thread watcher;
};
