#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "cli/interrupt.h"

namespace {

// Windows grants about five seconds after a close, log-off or shut-down event before it ends the
// process; the program's own end comes first when it can.
constexpr DWORD kEndingGraceMs = 4500;

std::atomic<void (*)()> first_handler{nullptr};
std::atomic<int> interrupts{0};

void stop_once() {
    if (interrupts.fetch_add(1) == 0)
        if (auto handler = first_handler.load()) handler();
}

// Runs on a thread the system starts for the event.
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

void install_interrupt_handler(void (*on_first)()) {
    first_handler = on_first;
    SetConsoleCtrlHandler(on_console_event, TRUE);
}
