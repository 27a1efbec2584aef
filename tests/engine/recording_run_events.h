#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/log_row.h"
#include "engine/run_events.h"

// Records a run's events as lines of text, for assertions on their order and content.
class RecordingRunEvents : public RunEvents {
public:
    std::vector<std::string> events;
    std::vector<std::string> log_rows;  // each check's seven cells as they ended (a cancelled one cancelled)
    std::optional<RunEnd> end;
    // Called on the run's thread after each event is recorded, to act at a chosen moment of the run.
    std::function<void(const std::string& event)> on_event;

    void run_started(const CheckGroups& groups) override {
        log_rows.clear();
        end.reset();
        add("run started, " + std::to_string(groups.size()) + " groups");
    }
    void check_started(const RunRow& check) override {
        // Checks are numbered in the order they start: a gap or a repeat is a fault of the run.
        EXPECT_EQ(check.number, static_cast<int>(log_rows.size()));
        log_rows.push_back(check.text);
        add("check " + std::to_string(check.group_index) + "." + std::to_string(check.item_index) + " started");
    }
    void check_finished(const RunRow& check) override {
        ASSERT_LT(static_cast<size_t>(check.number), log_rows.size());
        log_rows[check.number] = log_row_line(check);
        add("check " + std::to_string(check.group_index) + "." + std::to_string(check.item_index) + " " +
            log_row_result(check.record).result);
    }
    void group_finished(int group, bool passed) override {
        add("group " + std::to_string(group) + (passed ? " passed" : " failed"));
    }
    void run_finished(const RunEnd& run_end) override {
        end = run_end;
        if (run_end.cancelled) log_rows.at(run_end.cancelled->number) = log_row_line(*run_end.cancelled);
        add(run_end.completed ? "run completed" : "run stopped");
    }

private:
    void add(const std::string& e) {
        events.push_back(e);
        if (on_event) on_event(e);
    }
};
