#include "net/deadline_watchdog.h"

#include <algorithm>

DeadlineWatchdog::DeadlineWatchdog(std::chrono::steady_clock::time_point deadline,
                                   std::function<void()> expire, std::function<bool()> cut_short) {
    watcher = std::thread([this, deadline, expire = std::move(expire), cut_short = std::move(cut_short)] {
        using Clock = std::chrono::steady_clock;
        std::unique_lock<std::mutex> guard(lock);
        for (;;) {
            const auto look_at =
                cut_short ? std::min(deadline, Clock::now() + std::chrono::milliseconds(100)) : deadline;
            wake.wait_until(guard, look_at, [this] { return stopping; });
            // A stop that comes after the deadline is too late as well.
            if (Clock::now() >= deadline) break;
            if (stopping) return;
            if (cut_short && cut_short()) break;
        }
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
