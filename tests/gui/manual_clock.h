#pragma once

#include "ui/animation_clock.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

// A clock the test moves by hand: the animation thread's waits end only when the test advances the
// time past them (or wakes the thread), so frame pacing can be checked without sleeping.
class ManualClock : public AnimationClock {
public:
    std::int64_t NowMs() override;
    void WaitMs(std::int64_t ms) override;
    void Wake() override;

    // Blocks until the thread starts its next wait and returns the length it asked for;
    // -1 when none starts within the time limit.
    std::int64_t NextWait();
    void Advance(std::int64_t ms);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t now_ = 1000;
    bool woken_ = false;
    int waits_started_ = 0;
    int waits_seen_ = 0;
    std::int64_t last_wait_ = -1;
};
