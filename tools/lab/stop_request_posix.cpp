#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "tools/lab/stop_request.h"

namespace {

sigset_t stop_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGUSR1);
    return set;
}

}  // namespace

void prepare_stop_signals() {
    signal(SIGPIPE, SIG_IGN);
    const sigset_t set = stop_signals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void watch_standard_input() {
    std::thread([] {
        char discard[256];
        while (read(STDIN_FILENO, discard, sizeof discard) > 0) {
        }
        request_stop();
    }).detach();
}

void request_stop() { kill(getpid(), SIGUSR1); }

void wait_for_stop() {
    const sigset_t set = stop_signals();
    int received = 0;
    sigwait(&set, &received);
}
