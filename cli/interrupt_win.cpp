#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "cli/interrupt.h"

namespace {

// Windows grants about five seconds after a close, log-off or shut-down event before it ends the
// process; the program's own end comes first when it can.
constexpr DWORD kEndingGraceMs = 4500;

std::atomic<int> interrupts{0};
// Set before the handler is installed; a handler thread still running after the object went finds it
// as it was.
std::stop_source active_stop{std::nostopstate};

void stop_once() {
    if (interrupts.fetch_add(1) == 0) active_stop.request_stop();
}

// Runs on a thread the system starts for the event, where asking for the stop is safe.
BOOL WINAPI on_console_event(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            if (interrupts.load() > 0) std::_Exit(130);
            stop_once();
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // The process ends when this returns: the main thread gets the grace to finish first, and
            // when it does, this thread ends with the process.
            stop_once();
            Sleep(kEndingGraceMs);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

InterruptStop::InterruptStop(std::stop_source stop) {
    interrupts = 0;
    active_stop = std::move(stop);
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

InterruptStop::~InterruptStop() {
    SetConsoleCtrlHandler(on_console_event, FALSE);
}
