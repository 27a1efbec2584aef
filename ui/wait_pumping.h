#pragma once

// Returns after the given milliseconds, dispatching the calling thread's events meanwhile.
void wait_pumping(int milliseconds);
