#pragma once

#include "engine/run_observer.h"

class CTarvoCheckToolDlg;

// Shows a diagnosis run in the main window: every call is carried out on the window's thread, and
// the run's worker waits until it has been.
class WindowRunObserver : public RunObserver {
public:
    explicit WindowRunObserver(CTarvoCheckToolDlg& window) : window_(window) {}

    void set_step_text(int step, const std::string& text, uint32_t color) override;
    void set_step_fill_color(int step, uint32_t color) override;
    void set_current_step(int step) override;
    void advance_current_step() override;
    void reset_step_colors() override;
    void clear_lists() override;
    void append_log_row(int row, const std::string& text) override;
    void complete_log_row(int row, const LogRowCompletion& completion) override;
    void set_result_rows(const std::vector<std::string>& rows) override;
    void set_result_message(const std::string& text, int points, uint32_t color) override;
    void set_progress_marquee(bool on) override;
    void set_progress_position(int position) override;
    void step_progress() override;
    void show_progress(bool visible) override;
    void play_picture() override;
    void stop_picture() override;
    void set_start_button(const std::string& text, bool enabled) override;
    void enable_start_button(bool enabled) override;
    void enable_save_log_button(bool enabled) override;
    void show_completion_message(const std::string& text, int auto_close_seconds) override;
    void run_finished(bool completed) override;

private:
    template <typename Call>
    void on_window_thread(Call&& call);

    CTarvoCheckToolDlg& window_;
};
