#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "cli/interrupt.h"

namespace {

std::atomic<void (*)()> first_handler{nullptr};
std::atomic<int> interrupts{0};

// Runs on a thread the system starts for the event.
BOOL WINAPI on_console_event(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    if (interrupts.fetch_add(1) > 0) std::_Exit(130);
    if (auto handler = first_handler.load()) handler();
    return TRUE;
}

}  // namespace

void install_interrupt_handler(void (*on_first)()) {
    first_handler = on_first;
    SetConsoleCtrlHandler(on_console_event, TRUE);
}
