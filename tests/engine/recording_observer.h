#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/run_observer.h"

// Records every display change of a run as one line of text, for assertions on order and content.
class RecordingObserver : public RunObserver {
public:
    std::vector<std::string> events;
    std::vector<std::string> log_rows;  // final seven-cell lines
    std::vector<std::string> step_texts = std::vector<std::string>(16);
    std::vector<uint32_t> step_colors = std::vector<uint32_t>(16, kKeepColor);
    std::vector<std::string> result_rows;
    std::string result_message;
    bool save_log_enabled = false;
    int completion_messages = 0;
    bool finished = false;
    // Called on the run's thread after each event is recorded, to act at a chosen moment of the run.
    std::function<void(const std::string& event)> on_event;

    void set_step_text(int step, const std::string& text, uint32_t color) override {
        step_texts[step] = text;
        if (color != kKeepColor) step_colors[step] = color;
        add("step " + std::to_string(step) + " " + text);
    }
    void set_step_fill_color(int step, uint32_t) override { add("fill " + std::to_string(step)); }
    void set_current_step(int step) override { add("current " + std::to_string(step)); }
    void advance_current_step() override { add("advance"); }
    void reset_step_colors() override {
        std::fill(step_colors.begin(), step_colors.end(), kKeepColor);
        add("reset colors");
    }
    void clear_lists() override {
        texts_.clear();
        log_rows.clear();
        result_rows.clear();
        add("clear");
    }
    void append_log_row(int row, const std::string& text) override {
        // Rows are numbered in the order they come: a gap or a repeat is a fault of the run.
        EXPECT_EQ(row, static_cast<int>(texts_.size()));
        texts_.push_back(text);
        log_rows.push_back(text);
        add("row " + text);
    }
    void complete_log_row(int row, const LogRowCompletion& c) override {
        ASSERT_GE(row, 0);
        ASSERT_LT(static_cast<size_t>(row), texts_.size());
        log_rows[row] = log_row_line(texts_[row], c);
        add("complete " + std::to_string(row) + " " + log_rows[row]);
    }
    void set_result_rows(const std::vector<std::string>& rows) override { result_rows = rows; }
    void set_result_message(const std::string& text, int, uint32_t) override { result_message = text; }
    void set_progress_marquee(bool) override {}
    void set_progress_position(int p) override { add("position " + std::to_string(p)); }
    void step_progress() override { add("step progress"); }
    void show_progress(bool v) override { add(v ? "show progress" : "hide progress"); }
    void play_picture() override { add("play"); }
    void stop_picture() override { add("stop picture"); }
    void set_start_button(const std::string& text, bool enabled) override {
        add("start button " + text + (enabled ? " enabled" : " disabled"));
    }
    void enable_start_button(bool e) override { add(e ? "start enabled" : "start disabled"); }
    void enable_save_log_button(bool e) override { save_log_enabled = e; }
    void show_completion_message(const std::string&, int seconds) override {
        ++completion_messages;
        add("completion " + std::to_string(seconds));
    }
    void run_finished(bool completed) override {
        finished = true;
        add(completed ? "finished completed" : "finished stopped");
    }

private:
    void add(const std::string& e) {
        {
            std::lock_guard guard(lock_);
            events.push_back(e);
        }
        if (on_event) on_event(e);
    }
    std::mutex lock_;
    std::vector<std::string> texts_;
};
