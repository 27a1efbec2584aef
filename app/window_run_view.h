#pragma once

#include "app/run_view.h"

class CTarvoCheckToolDlg;

// The main window's controls as a run changes them.
class WindowRunView : public RunView {
public:
    explicit WindowRunView(CTarvoCheckToolDlg& window) : window_(window) {}

    void reset_step_colors() override;
    void set_current_step(int step) override;
    void advance_current_step() override;
    void set_step_text(int step, const std::string& caption, uint32_t color) override;
    void set_step_fill_color(int step, uint32_t color) override;
    void set_step_outcome(int step, StepOutcome outcome) override;
    void clear_pages() override;
    void append_log_row(int row, const std::string& text) override;
    void complete_log_row(int row, const LogRowCompletion& completion) override;
    void set_result_rows(const std::vector<std::string>& rows) override;
    void set_result_message(const std::string& text, int points, uint32_t color) override;
    void restart_progress() override;
    void step_progress() override;
    void hide_progress() override;
    void restart_picture() override;
    void stop_picture() override;
    void set_start_button(const std::string& text, bool enabled) override;
    void enable_save_log_button(bool enabled) override;
    void show_completion_message(const std::string& text, int auto_close_seconds) override;
    void run_shown(bool completed) override;

private:
    CTarvoCheckToolDlg& window_;
};
