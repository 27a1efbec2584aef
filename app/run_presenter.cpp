#include "app/run_presenter.h"

#include "res/engine_texts.h"
#include "res/string_table.h"
#include "res/window_texts.h"

void RunPresenter::run_started(const CheckGroups& groups)
{
    groups_ = groups;
    view_.reset_step_colors();
    for (size_t g = 0; g < groups_.size(); ++g)
        view_.set_step_text(static_cast<int>(g), idle_step_caption(groups_[g]), kKeepColor);
    view_.clear_pages();
    view_.restart_picture();
    view_.enable_save_log_button(false);
    // Disabled until the run is under way, then the same button stops it.
    view_.set_start_button(load_string(text::kStopButton), false);
    view_.restart_progress();
    view_.set_start_button(load_string(text::kStopButton), true);
}

void RunPresenter::check_started(const RunRow& check)
{
    const int count = static_cast<int>(groups_[check.group_index].size());
    view_.step_progress();
    view_.set_current_step(check.group_index);
    view_.set_step_text(check.group_index, checking_step_caption(check.item.name, check.item_index + 1, count),
                        kKeepColor);
    view_.append_log_row(check.number, check.text);
}

void RunPresenter::check_finished(const RunRow& check)
{
    view_.complete_log_row(check.number, complete_log_row(check.record));
}

void RunPresenter::group_finished(int group, bool passed)
{
    if (passed) {
        view_.set_step_text(group, passed_step_caption(groups_[group]), kKeepColor);
        return;
    }
    view_.set_step_fill_color(group, kStepFailedColor);
    view_.set_step_text(group, failed_step_caption(groups_[group]), kStepFailedColor);
    view_.set_step_outcome(group, RunView::StepOutcome::kFailed);
}

void RunPresenter::run_finished(const RunEnd& end)
{
    view_.advance_current_step();
    view_.set_start_button(load_string(text::kStartButton), true);
    view_.hide_progress();
    view_.stop_picture();
    if (end.completed)
        show_completed_run(end);
    else
        show_stopped_run(end);
    view_.run_shown(end.completed);
}

void RunPresenter::show_completed_run(const RunEnd& end)
{
    view_.show_completion_message(load_string(text::kCompletionMessage), kCompletionAutoCloseSeconds);
    view_.enable_save_log_button(true);
    if (end.failures.empty()) {
        view_.set_result_message(load_string(text::kNoFailures), kResultMessagePoints, kResultMessageColor);
        return;
    }
    std::vector<std::string> rows;
    for (const RunRow& failure : end.failures)
        rows.push_back(result_row(failure));
    view_.set_result_rows(rows);
}

// After a stop the save-log button stays disabled.
void RunPresenter::show_stopped_run(const RunEnd& end)
{
    // A stop before the first item leaves no row and no step to mark.
    if (const std::optional<RunRow>& last = end.cancelled) {
        const CheckGroup& group = groups_[last->group_index];
        view_.set_step_text(last->group_index, stopped_step_caption(group, last->item_index + 1), kStepStoppedColor);
        view_.set_step_outcome(last->group_index, RunView::StepOutcome::kStopped);
        view_.complete_log_row(last->number, complete_log_row(last->record));
    }
    view_.set_result_message(load_string(text::kCancelledText), kResultMessagePoints, kResultMessageColor);
}
