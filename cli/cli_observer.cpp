#include "cli/cli_observer.h"

#include "engine/log_row.h"
#include "sys/console_text.h"

void CliObserver::check_finished(const RunRow& check) {
    if (text_mode_) pending_ = log_row_line(check);
}

void CliObserver::run_finished(const RunEnd& end) {
    if (text_mode_ && end.cancelled) pending_ = log_row_line(*end.cancelled);
    flush_pending();
}

void CliObserver::flush_pending() {
    if (pending_.empty()) return;
    write_console_text(out_, pending_ + "\n");
    pending_.clear();
}
