#pragma once

#include <cstdio>
#include <string>

#include "engine/run_observer.h"

// Shows a run on a terminal: in text mode one line per finished check (its seven log-row cells
// joined by "|"); in JSON mode nothing until the run ends. A row is printed once it is final, so that
// a stopped run's last row shows its cancellation.
class CliObserver : public RunObserver {
public:
    CliObserver(bool text_mode, std::FILE* out) : text_mode_(text_mode), out_(out) {}

    void set_step_text(int, const std::string&, uint32_t) override {}
    void set_step_fill_color(int, uint32_t) override {}
    void set_current_step(int) override {}
    void advance_current_step() override {}
    void reset_step_colors() override {}
    void clear_lists() override { rows_ = 0; }
    int append_log_row(const std::string& text) override;
    void complete_log_row(int row, const LogRowCompletion& completion) override;
    void set_result_rows(const std::vector<std::string>&) override {}
    void set_result_message(const std::string&, int, uint32_t) override {}
    void set_progress_marquee(bool) override {}
    void set_progress_position(int) override {}
    void step_progress() override {}
    void show_progress(bool) override {}
    void play_picture() override {}
    void stop_picture() override {}
    void set_start_button(const std::string&, bool) override {}
    void enable_start_button(bool) override {}
    void enable_save_log_button(bool) override {}
    void show_completion_message(const std::string&, int) override {}
    void run_finished(bool) override { flush_pending(); }

private:
    void flush_pending();

    bool text_mode_;
    std::FILE* out_;
    int rows_ = 0;
    std::string current_row_;
    std::string pending_;
};
