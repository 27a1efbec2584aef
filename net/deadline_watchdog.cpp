#include "net/deadline_watchdog.h"

DeadlineWatchdog::DeadlineWatchdog(std::chrono::steady_clock::time_point deadline,
                                   std::function<void()> expire) {
    watcher = std::thread([this, deadline, expire = std::move(expire)] {
        std::unique_lock<std::mutex> guard(lock);
        wake.wait_until(guard, deadline, [this] { return stopping; });
        // A stop that comes after the deadline is too late as well.
        if (std::chrono::steady_clock::now() < deadline) return;
        expired = true;
        // Held while expiring, so that stop() returns only after the handle is closed.
        expire();
    });
}

DeadlineWatchdog::~DeadlineWatchdog() {
    stop();
}

bool DeadlineWatchdog::stop() {
    {
        const std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    wake.notify_all();
    if (watcher.joinable()) watcher.join();
    return expired;
}
