#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/check_param.h"
#include "engine/run_view.h"

// Every display change of a diagnosis run. The run calls these on its worker thread and expects
// each to have taken effect when it returns (the window invokes its controls on the UI thread and
// waits; the command line prints; tests record).
class RunObserver {
public:
    virtual ~RunObserver() = default;

    virtual void set_step_text(int step, const std::string& text, uint32_t color) = 0;
    virtual void set_step_fill_color(int step, uint32_t color) = 0;
    virtual void set_current_step(int step) = 0;
    // Moves the current step one past its last value, so the last step checked counts as done.
    virtual void advance_current_step() = 0;
    virtual void reset_step_colors() = 0;

    virtual void clear_lists() = 0;
    // Rows are named by their number in the run (0, 1, … in the order they are appended after
    // clear_lists), which stays theirs however a view of them is sorted.
    // Appends a diagnosis-log row (cells joined by "|").
    virtual void append_log_row(int row, const std::string& text) = 0;
    // Completes the row of that number with its time, result and code.
    virtual void complete_log_row(int row, const LogRowCompletion& completion) = 0;
    // Rows of the result page ("Fail|category|content"), after a run with failures.
    virtual void set_result_rows(const std::vector<std::string>& rows) = 0;
    virtual void set_result_message(const std::string& text, int points, uint32_t color) = 0;

    virtual void set_progress_marquee(bool on) = 0;
    virtual void set_progress_position(int position) = 0;
    virtual void step_progress() = 0;
    virtual void show_progress(bool visible) = 0;

    virtual void play_picture() = 0;
    virtual void stop_picture() = 0;

    virtual void set_start_button(const std::string& text, bool enabled) = 0;
    virtual void enable_start_button(bool enabled) = 0;
    virtual void enable_save_log_button(bool enabled) = 0;

    // Shows the completion message (OK button, closing by itself after `auto_close_seconds`) and
    // returns when it has closed.
    virtual void show_completion_message(const std::string& text, int auto_close_seconds) = 0;

    // The run has made its last access to anything its owner may destroy.
    virtual void run_finished(bool completed) = 0;
};
