#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// Time as the animation thread sees it; tests put a hand-driven clock in its place.
class AnimationClock {
public:
    virtual ~AnimationClock() = default;
    virtual std::int64_t NowMs() = 0;
    // Waits up to ms; returns early once Wake() has been called (each wake ends one wait).
    virtual void WaitMs(std::int64_t ms) = 0;
    virtual void Wake() = 0;
};

// The process's monotonic clock.
class SteadyAnimationClock : public AnimationClock {
public:
    std::int64_t NowMs() override;
    void WaitMs(std::int64_t ms) override;
    void Wake() override;

private:
    std::mutex mutex_;
    std::condition_variable woken_cv_;
    bool woken_ = false;
};
