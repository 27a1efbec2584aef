#include "cli/cli_observer.h"

#include "sys/console_text.h"

void CliObserver::append_log_row(int, const std::string& text) {
    flush_pending();
    current_row_ = text;
}

void CliObserver::complete_log_row(int, const LogRowCompletion& completion) {
    if (!text_mode_) return;
    pending_ = log_row_line(current_row_, completion);
}

void CliObserver::flush_pending() {
    if (pending_.empty()) return;
    write_console_text(out_, pending_ + "\n");
    pending_.clear();
}
