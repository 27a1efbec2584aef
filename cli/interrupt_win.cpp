#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "cli/interrupt.h"

namespace {

// Windows grants about five seconds after a close, log-off or shut-down event before it ends the
// process; the program's own end comes first when it can.
constexpr DWORD kEndingGraceMs = 4500;
// Making a window takes no time; the bound is for a system whose desktop does not answer.
constexpr auto kWindowBound = std::chrono::seconds(5);
constexpr wchar_t kWindowClass[] = L"CheckToolCliSessionEnd";

std::atomic<int> interrupts{0};
// Set before the handler is installed; a handler thread still running after the object went finds it
// as it was.
std::stop_source active_stop{std::nostopstate};
// The session's end was heard by the window: its thread holds the end off until the process is gone.
std::atomic<bool> session_ending{false};
std::thread session_listener;
std::future<HWND> session_window;

void stop_once() {
    if (interrupts.fetch_add(1) == 0) active_stop.request_stop();
}

// The process ends when the event's handler returns: the main thread gets the grace to finish first,
// and when it does, the handler's thread ends with the process.
void stop_and_hold_the_end() {
    stop_once();
    Sleep(kEndingGraceMs);
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
            stop_and_hold_the_end();
            return TRUE;
        default:
            return FALSE;
    }
}

// A console program that loads the window library (this one does, through the shell and internet
// libraries) is told of a log-off or shut-down only as a window is, never through its console
// handler; and only top-level windows hear it, not message-only ones. Hence a hidden one.
LRESULT CALLBACK on_window_message(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
    switch (message) {
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (w_param) {
                session_ending = true;
                stop_and_hold_the_end();
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, w_param, l_param);
    }
}

void listen_for_session_end(std::promise<HWND> made) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = on_window_message;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kWindowClass;
    RegisterClassW(&window_class);
    // Never shown: no WS_VISIBLE, and a console program's window is in no task bar.
    const HWND window = CreateWindowExW(0, kWindowClass, L"checktool-cli", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                        nullptr, window_class.hInstance, nullptr);
    made.set_value(window);
    if (!window) return;  // no desktop (a service, Wine without a display): the console handler is all
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

}  // namespace

InterruptStop::InterruptStop(std::stop_source stop) {
    interrupts = 0;
    session_ending = false;
    active_stop = std::move(stop);
    SetConsoleCtrlHandler(on_console_event, TRUE);
    std::promise<HWND> made;
    session_window = made.get_future();
    session_listener = std::thread(listen_for_session_end, std::move(made));
    session_window.wait_for(kWindowBound);
}

InterruptStop::~InterruptStop() {
    SetConsoleCtrlHandler(on_console_event, FALSE);
    const bool answered = session_window.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    const HWND window = answered ? session_window.get() : nullptr;
    if (!answered || session_ending) {
        // Still making its window, or holding the session's end off: it ends with the process.
        session_listener.detach();
        return;
    }
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    session_listener.join();
}
