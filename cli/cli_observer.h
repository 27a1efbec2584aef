#pragma once

#include <cstdio>
#include <string>

#include "engine/null_run_observer.h"

// Shows a run on a terminal: in text mode one line per finished check (its seven log-row cells
// joined by "|"); in JSON mode nothing until the run ends. A row is printed once it is final, so that
// a stopped run's last row shows its cancellation.
class CliObserver : public NullRunObserver {
public:
    CliObserver(bool text_mode, std::FILE* out) : text_mode_(text_mode), out_(out) {}

    void append_log_row(int row, const std::string& text) override;
    void complete_log_row(int row, const LogRowCompletion& completion) override;
    void run_finished(bool) override { flush_pending(); }

private:
    void flush_pending();

    bool text_mode_;
    std::FILE* out_;
    std::string current_row_;
    std::string pending_;
};
