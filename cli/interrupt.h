#pragma once

#include <stop_token>

// Ctrl+C for the command line, for as long as this object lives: the first interrupt asks `stop` to
// stop (everything the program is doing watches it and ends within a second); a second one ends the
// process at once with status 130. On Windows, closing the console window, logging off and shutting
// down are a stop too: the system ends the program a few seconds after such an event whatever it does,
// so the handler holds it off for that long, for the work to end as stopped and the program to finish.
// Once it is gone the system's own handling is back, so that a later Ctrl+C ends the program as usual
// instead of being swallowed.
class InterruptStop {
public:
    explicit InterruptStop(std::stop_source stop);
    ~InterruptStop();
    InterruptStop(const InterruptStop&) = delete;
    InterruptStop& operator=(const InterruptStop&) = delete;
};
