#include "ui/animation_clock.h"

#include <chrono>

std::int64_t SteadyAnimationClock::NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyAnimationClock::WaitMs(std::int64_t ms)
{
    std::unique_lock lock(mutex_);
    woken_cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return woken_; });
    woken_ = false;
}

void SteadyAnimationClock::Wake()
{
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    woken_cv_.notify_all();
}
