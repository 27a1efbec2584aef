#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "cli/interrupt.h"

namespace {

std::atomic<void (*)()> first_handler{nullptr};
std::atomic<int> interrupts{0};

void on_signal(int) {
    if (interrupts.fetch_add(1) > 0) _exit(130);
    if (auto handler = first_handler.load()) handler();
}

}  // namespace

void install_interrupt_handler(void (*on_first)()) {
    first_handler = on_first;
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
