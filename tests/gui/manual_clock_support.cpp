#include "tests/gui/manual_clock.h"

#include <chrono>

std::int64_t ManualClock::NowMs()
{
    std::lock_guard lock(mutex_);
    return now_;
}

void ManualClock::WaitMs(std::int64_t ms)
{
    std::unique_lock lock(mutex_);
    const std::int64_t deadline = now_ + ms;
    last_wait_ = ms;
    ++waits_started_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return now_ >= deadline || woken_; });
    woken_ = false;
}

void ManualClock::Wake()
{
    std::lock_guard lock(mutex_);
    woken_ = true;
    changed_.notify_all();
}

std::int64_t ManualClock::NextWait()
{
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::seconds(10), [&] { return waits_started_ > waits_seen_; }))
        return -1;
    waits_seen_ = waits_started_;
    return last_wait_;
}

void ManualClock::Advance(std::int64_t ms)
{
    std::lock_guard lock(mutex_);
    now_ += ms;
    changed_.notify_all();
}
