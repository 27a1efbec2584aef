// The window's choreography of a run, driven by scripted events against a recording view: no
// widgets, no worker.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "app/run_presenter.h"
#include "engine/log_row.h"

using ::testing::ElementsAre;

namespace {

std::string hex(uint32_t color)
{
    char text[16];
    std::snprintf(text, sizeof text, " %08X", color);
    return color == kKeepColor ? std::string() : std::string(text);
}

// Every change as one line, in order.
class RecordingView : public RunView {
public:
    std::vector<std::string> calls;

    void reset_step_colors() override { calls.push_back("reset step colours"); }
    void set_current_step(int step) override { calls.push_back("current step " + std::to_string(step)); }
    void advance_current_step() override { calls.push_back("advance current step"); }
    void set_step_text(int step, const std::string& caption, uint32_t color) override
    {
        calls.push_back("step " + std::to_string(step) + " " + caption + hex(color));
    }
    void set_step_fill_color(int step, uint32_t color) override
    {
        calls.push_back("step " + std::to_string(step) + " fill" + hex(color));
    }
    void set_step_outcome(int step, StepOutcome outcome) override
    {
        calls.push_back("step " + std::to_string(step) + (outcome == StepOutcome::kFailed ? " failed" : " stopped"));
    }
    void clear_pages() override { calls.push_back("clear pages"); }
    void append_log_row(int row, const std::string& text) override
    {
        calls.push_back("row " + std::to_string(row) + " " + text);
    }
    void complete_log_row(int row, const LogRowCompletion& c) override
    {
        calls.push_back("row " + std::to_string(row) + " " + c.elapsed + "|" + c.result + "|" + c.code +
                        hex(c.elapsed_color) + hex(c.row_color));
    }
    void set_result_rows(const std::vector<std::string>& rows) override
    {
        for (const std::string& row : rows)
            calls.push_back("result " + row);
    }
    void set_result_message(const std::string& text, int points, uint32_t color) override
    {
        calls.push_back("result message " + text + " " + std::to_string(points) + hex(color));
    }
    void restart_progress() override { calls.push_back("progress from 0"); }
    void step_progress() override { calls.push_back("progress +1"); }
    void hide_progress() override { calls.push_back("progress hidden"); }
    void restart_picture() override { calls.push_back("picture from its first frame"); }
    void stop_picture() override { calls.push_back("picture stopped"); }
    void set_start_button(const std::string& text, bool enabled) override
    {
        calls.push_back("start button " + text + (enabled ? "" : " disabled"));
    }
    void enable_save_log_button(bool enabled) override
    {
        calls.push_back(enabled ? "save-log button" : "save-log button disabled");
    }
    void show_completion_message(const std::string& text, int seconds) override
    {
        calls.push_back("message for " + std::to_string(seconds) + " s: " + text.substr(0, text.find('\n')));
    }
    void run_shown(bool completed) override { calls.push_back(completed ? "shown completed" : "shown stopped"); }
};

CheckGroups groups_of(std::vector<std::pair<std::string, int>> shape)
{
    CheckGroups groups;
    for (const auto& [name, count] : shape) {
        CCheckItem item;
        item.name = name;
        item.host = "10.0.0.1";
        item.port = 7001;
        groups.push_back(CheckGroup(count, item));
    }
    return groups;
}

// Drives a presenter as a run would.
class ScriptedRun {
public:
    ScriptedRun(RunPresenter& presenter, CheckGroups groups) : presenter_(presenter), groups_(std::move(groups))
    {
        presenter_.run_started(groups_);
    }

    RunRow& Check(int group, int item, ResultCode result, int elapsed_ms)
    {
        RunRow row;
        row.number = static_cast<int>(rows_.size());
        row.group_index = group;
        row.item_index = item;
        row.item = groups_[group][item];
        row.text = log_row_text(group, row.item, "10:00:00");
        presenter_.check_started(row);
        row.record.result = result;
        row.record.elapsed_ms = elapsed_ms;
        presenter_.check_finished(row);
        return rows_.emplace_back(row);
    }

    void Completed()
    {
        RunEnd end;
        end.completed = true;
        for (const RunRow& row : rows_)
            if (row.record.result.code != 0) end.failures.push_back(row);
        presenter_.run_finished(end);
    }

    void Stopped()
    {
        RunEnd end;
        if (!rows_.empty()) {
            end.cancelled = rows_.back();
            end.cancelled->record.result = RESULT_CANCELLED;
        }
        presenter_.run_finished(end);
    }

private:
    RunPresenter& presenter_;
    CheckGroups groups_;
    std::vector<RunRow> rows_;
};

class RunPresenterTest : public ::testing::Test {
protected:
    RecordingView view;
    RunPresenter presenter{view};
};

TEST_F(RunPresenterTest, ACompletedRunWithAFailedGroupInTheWindowsOrder)
{
    ScriptedRun run(presenter, groups_of({{"계정 권한", 1}, {"세션 서버", 2}}));
    run.Check(0, 0, RESULT_OK, 0);
    presenter.group_finished(0, true);
    run.Check(1, 0, RESULT_CONNECT, 12);
    run.Check(1, 1, RESULT_OK, 301);
    presenter.group_finished(1, false);
    run.Completed();

    EXPECT_THAT(view.calls,
                ElementsAre("reset step colours", "step 0 계정 권한 체크", "step 1 세션 서버 체크", "clear pages",
                            "picture from its first frame", "save-log button disabled", "start button 진단 중지 disabled",
                            "progress from 0", "start button 진단 중지",
                            // the account check
                            "progress +1", "current step 0", "step 0 계정 권한 체크중", "row 0 계정|10:00:00|관리자 계정",
                            "row 0 0ms|Ok| FF007F00", "step 0 계정 권한 체크 완료",
                            // the session servers
                            "progress +1", "current step 1", "step 1 세션 서버 체크중 (1/2)",
                            "row 1 세션|10:00:00|10****1|7001", "row 1 12ms|Fail|90103 FFB22222",
                            "progress +1", "current step 1", "step 1 세션 서버 체크중 (2/2)",
                            "row 2 세션|10:00:00|10****1|7001", "row 2 301ms|Ok| FF00008B", "step 1 fill FFB22222",
                            "step 1 세션 서버 체크 실패 (2/2) FFB22222", "step 1 failed",
                            // the end
                            "advance current step", "start button 진단 시작", "progress hidden", "picture stopped",
                            "message for 10 s: 모든 체크가 완료되었습니다.", "save-log button",
                            "result Fail|세션|서버에 연결할 수 없습니다.", "shown completed"));
}

TEST_F(RunPresenterTest, ACompletedRunWithoutFailuresSaysSo)
{
    ScriptedRun run(presenter, groups_of({{"계정 권한", 1}}));
    run.Check(0, 0, RESULT_OK, 300);
    EXPECT_EQ(view.calls.back(), "row 0 300ms|Ok| FF507FFF") << "the slowest time before the last colour";
    presenter.group_finished(0, true);
    view.calls.clear();
    run.Completed();
    EXPECT_THAT(view.calls, ElementsAre("advance current step", "start button 진단 시작", "progress hidden",
                                        "picture stopped", "message for 10 s: 모든 체크가 완료되었습니다.",
                                        "save-log button", "result message 진단 실패 항목이 없습니다. 9 FF696969",
                                        "shown completed"));
}

// The stopped item was still checked to its end; its row then shows the cancellation, its step the
// item it stopped at. No message, and the save-log button stays disabled.
TEST_F(RunPresenterTest, AStopDuringTheSecondItemOfAThreeItemGroup)
{
    ScriptedRun run(presenter, groups_of({{"계정 권한", 1}, {"세션 서버", 3}, {"웹 서버", 1}}));
    run.Check(0, 0, RESULT_OK, 0);
    presenter.group_finished(0, true);
    run.Check(1, 0, RESULT_OK, 100);
    run.Check(1, 1, RESULT_OK, 300);
    view.calls.clear();
    run.Stopped();
    EXPECT_THAT(view.calls, ElementsAre("advance current step", "start button 진단 시작", "progress hidden",
                                        "picture stopped", "step 1 세션 서버 체크 중지 (2/3) FFA0522D", "step 1 stopped",
                                        "row 2 300ms|Fail|90001 FFB22222",
                                        "result message 사용자에 의해 진단이 취소되었습니다. 9 FF696969",
                                        "shown stopped"));
}

TEST_F(RunPresenterTest, AStopBeforeTheFirstCheckMarksNoStep)
{
    ScriptedRun run(presenter, groups_of({{"계정 권한", 1}}));
    view.calls.clear();
    run.Stopped();
    EXPECT_THAT(view.calls, ElementsAre("advance current step", "start button 진단 시작", "progress hidden",
                                        "picture stopped", "result message 사용자에 의해 진단이 취소되었습니다. 9 FF696969",
                                        "shown stopped"));
}

}  // namespace
