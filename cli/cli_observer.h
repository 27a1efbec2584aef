#pragma once

#include <cstdio>
#include <string>

#include "engine/run_events.h"

// Shows a run on a terminal: in text mode one line per finished check (its seven log-row cells
// joined by "|"); in JSON mode nothing until the run ends. A line is printed once it is final: when
// the next check starts, or at the end, where a stopped run's last line shows its cancellation.
class CliObserver : public RunEvents {
public:
    CliObserver(bool text_mode, std::FILE* out) : text_mode_(text_mode), out_(out) {}

    void check_started(const RunRow&) override { flush_pending(); }
    void check_finished(const RunRow& check) override;
    void run_finished(const RunEnd& end) override;

private:
    void flush_pending();

    bool text_mode_;
    std::FILE* out_;
    std::string pending_;
};
