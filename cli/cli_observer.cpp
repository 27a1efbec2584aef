#include "cli/cli_observer.h"

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
    std::fprintf(out_, "%s\n", pending_.c_str());
    std::fflush(out_);
    pending_.clear();
}
