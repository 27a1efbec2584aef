#include "engine/diagnosis_run.h"

#include <ctime>

#include "engine/CCheckHost.h"
#include "engine/run_observer.h"
#include "log/CSCLog.h"
#include "sys/date_time_text.h"
#include "sys/number_text.h"

#include <system_error>

DiagnosisRun::DiagnosisRun(CCheckHost& host, RunObserver& observer) : host_(host), observer_(observer) {}

DiagnosisRun::~DiagnosisRun() {
    request_stop();
    wait();
}

bool DiagnosisRun::start() {
    if (busy_.exchange(true)) return false;
    stop_requested_ = false;  // only here, before the worker exists, is an old request forgotten
    if (worker_.joinable()) worker_.join();  // the previous worker has already made its last access
    try {
        worker_ = std::thread(&DiagnosisRun::thread_check, this);
    } catch (const std::system_error& e) {
        g_log->write(CSCLog::error, "DiagnosisRun::start", __LINE__, "no thread for the run: %s", e.what());
        busy_ = false;
        return false;
    }
    return true;
}

void DiagnosisRun::request_stop() {
    stop_requested_ = true;
}

void DiagnosisRun::wait() {
    if (worker_.joinable()) worker_.join();
}

void DiagnosisRun::update_check_list_before_start(int group, int item) {
    const CheckGroup& checks = host_.check_groups[group];
    const CCheckItem& check = checks[item];
    observer_.set_current_step(group);
    observer_.set_step_text(
        group, checking_step_caption(check.name, item + 1, static_cast<int>(checks.size())), kKeepColor);

    const std::string time_of_day = format_date_time_now(kTimeOnly, true, " ", true, true, false);
    RunRow row;
    row.group_index = group;
    row.item_index = item;
    row.item = check;
    row.text = log_row_text(group, check, time_of_day);
    observer_.append_log_row(static_cast<int>(rows_.size()), row.text);
    rows_.push_back(std::move(row));

    g_log->write(CSCLog::info, "CTarvoCheckToolDlg::update_check_list_before_start", 713, "%s(%s:%d)...",
                 check.name.c_str(), MaskAddress(check.host).c_str(), check.port);
}

void DiagnosisRun::thread_check() {
    const CheckGroups& groups = host_.check_groups;
    rows_.clear();
    failures_ = 0;
    completed_ = false;
    started_at_ = std::time(nullptr);
    ended_at_ = 0;

    observer_.reset_step_colors();
    for (size_t g = 0; g < groups.size(); ++g)
        observer_.set_step_text(static_cast<int>(g), idle_step_caption(groups[g]), kKeepColor);
    observer_.clear_lists();
    observer_.stop_picture();
    observer_.play_picture();
    observer_.enable_save_log_button(false);
    observer_.set_start_button(kStopButtonText, false);
    observer_.set_progress_marquee(false);
    observer_.set_progress_position(0);
    observer_.show_progress(true);
    observer_.enable_start_button(true);

    // The flag is read before every item and after every group; a stop anywhere ends the run as
    // stopped, never as completed.
    for (size_t g = 0; g < groups.size() && !stop_requested_; ++g) {
        bool group_ok = true;
        for (size_t i = 0; i < groups[g].size() && !stop_requested_; ++i) {
            observer_.step_progress();
            update_check_list_before_start(static_cast<int>(g), static_cast<int>(i));
            CCheckParam record = CCheckParam::for_item(static_cast<int>(g), static_cast<int>(i));
            const CCheckItem& item = groups[g][i];
            if (!(host_.*item.handler)(&record)) {
                ++failures_;
                group_ok = false;
            }
            RunRow& row = rows_.back();
            row.record = record;
            row.completion = complete_log_row(record);
            observer_.complete_log_row(static_cast<int>(rows_.size()) - 1, row.completion);
        }
        if (stop_requested_) break;
        if (group_ok) {
            observer_.set_step_text(static_cast<int>(g), passed_step_caption(groups[g]), kKeepColor);
        } else {
            observer_.set_step_fill_color(static_cast<int>(g), kStepFailedColor);
            observer_.set_step_text(static_cast<int>(g), failed_step_caption(groups[g]), kStepFailedColor);
        }
    }
    const bool stopped = stop_requested_;

    observer_.advance_current_step();
    observer_.set_start_button(kStartButtonText, true);
    observer_.show_progress(false);
    observer_.stop_picture();

    if (!stopped) {
        completed_ = true;
        observer_.show_completion_message(kCompletionMessage, kCompletionAutoCloseSeconds);
        g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::thread_check", 1071, "checking completed.");
        observer_.enable_save_log_button(true);
        if (failures_ == 0)
            observer_.set_result_message(kNoFailuresMessage, kResultMessagePoints, kResultMessageColor);
        else
            observer_.set_result_rows(failed_check_rows());
    } else {
        show_stopped_run();
    }

    ended_at_ = std::time(nullptr);
    observer_.run_finished(completed_);
    busy_ = false;  // the last access to anything of the owner's
}

void DiagnosisRun::show_stopped_run() {
    // A stop before the first item leaves no row and no step to mark.
    if (!rows_.empty()) {
        RunRow& last = rows_.back();
        observer_.set_step_text(
            last.group_index, stopped_step_caption(host_.check_groups[last.group_index], last.item_index + 1),
            kStepStoppedColor);
        last.record.result = RESULT_CANCELLED;
        last.completion = complete_log_row(last.record);
        observer_.complete_log_row(static_cast<int>(rows_.size()) - 1, last.completion);
    }
    g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::thread_check", 1083, "checking cancelled.");
    observer_.set_result_message(kCancelledMessage, kResultMessagePoints, kResultMessageColor);
}

std::vector<std::string> DiagnosisRun::failed_check_rows() const {
    std::vector<std::string> out;
    for (const RunRow& row : rows_) {
        if (row.record.result.code == 0) continue;
        std::string content = result_message(row.record.result);
        if (content.empty()) content = row.record.detail;
        if (content.empty()) content = "HTTP " + std::to_string(row.record.result.code);
        out.push_back("Fail|" + row.item.category() + "|" + content);
    }
    return out;
}
