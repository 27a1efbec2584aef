#pragma once

#include "engine/run_observer.h"

// An observer that shows nothing: a base for front ends that care about a few of the changes only.
class NullRunObserver : public RunObserver {
public:
    void set_step_text(int, const std::string&, uint32_t) override {}
    void set_step_fill_color(int, uint32_t) override {}
    void set_current_step(int) override {}
    void advance_current_step() override {}
    void reset_step_colors() override {}
    void clear_lists() override {}
    void append_log_row(int, const std::string&) override {}
    void complete_log_row(int, const LogRowCompletion&) override {}
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
    void run_finished(bool) override {}
};
