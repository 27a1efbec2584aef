#pragma once

#include <functional>

// Returns once the condition holds, dispatching the calling thread's events meanwhile, so that a
// worker waiting on this thread for a window update is served. Checks every few milliseconds.
void wait_pumping_until(const std::function<bool()>& done);
