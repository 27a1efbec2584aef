#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "cli/interrupt.h"

namespace {

// A signal handler may do next to nothing: it writes a byte into a pipe, and a thread of ours reads it
// and asks for the stop.
std::atomic<int> interrupts{0};
int wake_pipe[2] = {-1, -1};
std::thread relay;
struct sigaction previous_int {};
struct sigaction previous_term {};

void on_signal(int) {
    if (interrupts.fetch_add(1) > 0) _exit(130);
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wake_pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

InterruptStop::InterruptStop(std::stop_source stop) {
    interrupts = 0;
    if (pipe(wake_pipe) != 0) return;
    relay = std::thread([stop, read_end = wake_pipe[0]]() mutable {
        char byte = 0;
        for (;;) {
            const ssize_t n = read(read_end, &byte, 1);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;  // the write end is closed: this object is going
            stop.request_stop();
        }
    });
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_int);
    sigaction(SIGTERM, &action, &previous_term);
}

InterruptStop::~InterruptStop() {
    if (!relay.joinable()) return;
    sigaction(SIGINT, &previous_int, nullptr);
    sigaction(SIGTERM, &previous_term, nullptr);
    close(wake_pipe[1]);
    relay.join();
    close(wake_pipe[0]);
    wake_pipe[0] = wake_pipe[1] = -1;
}
