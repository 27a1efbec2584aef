#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/run_look.h"

// The window's controls as a diagnosis run changes them, one call per change. Every call is made on
// the window's thread and has taken effect when it returns.
class RunView {
public:
    enum class StepOutcome { kFailed, kStopped };

    virtual ~RunView() = default;

    virtual void reset_step_colors() = 0;
    virtual void set_current_step(int step) = 0;
    // One past the current step, so that the last step checked counts as done.
    virtual void advance_current_step() = 0;
    virtual void set_step_text(int step, const std::string& caption, uint32_t color) = 0;
    virtual void set_step_fill_color(int step, uint32_t color) = 0;
    // How a step ended when it did not pass, for those who cannot see its colour.
    virtual void set_step_outcome(int step, StepOutcome outcome) = 0;

    // Empties the diagnosis log and the result list.
    virtual void clear_pages() = 0;
    // Rows are named by their number in the run, which stays theirs however the list is sorted.
    virtual void append_log_row(int row, const std::string& text) = 0;
    virtual void complete_log_row(int row, const LogRowCompletion& completion) = 0;
    virtual void set_result_rows(const std::vector<std::string>& rows) = 0;
    virtual void set_result_message(const std::string& text, int points, uint32_t color) = 0;

    // The bar at 0, out of its waiting animation, and shown.
    virtual void restart_progress() = 0;
    virtual void step_progress() = 0;
    virtual void hide_progress() = 0;

    // The picture from its first frame, playing.
    virtual void restart_picture() = 0;
    virtual void stop_picture() = 0;

    virtual void set_start_button(const std::string& text, bool enabled) = 0;
    virtual void enable_save_log_button(bool enabled) = 0;

    // OK button, closing by itself after `auto_close_seconds`; returns when it has closed.
    virtual void show_completion_message(const std::string& text, int auto_close_seconds) = 0;
    // Everything of the run is shown.
    virtual void run_shown(bool completed) = 0;
};
