#include "engine/diagnosis_run.h"

#include <ctime>

#include "engine/CCheckHost.h"
#include "engine/log_row.h"
#include "log/CSCLog.h"
#include "sys/date_time_text.h"
#include "sys/number_text.h"

#include <system_error>

DiagnosisRun::DiagnosisRun(CCheckHost& host, RunEvents& events) : host_(host), events_(events) {}

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

RunRow& DiagnosisRun::update_check_list_before_start(int group, int item) {
    const CCheckItem& check = host_.check_groups[group][item];
    RunRow row;
    row.number = static_cast<int>(rows_.size());
    row.group_index = group;
    row.item_index = item;
    row.item = check;
    row.text = log_row_text(group, check, format_date_time_now(kTimeOnly, true, " ", true, true, false));
    row.record = CCheckParam::for_item(group, item);
    events_.check_started(rows_.emplace_back(std::move(row)));

    g_log->write(CSCLog::info, "CTarvoCheckToolDlg::update_check_list_before_start", 713, "%s(%s:%d)...",
                 check.name.c_str(), MaskAddress(check.host).c_str(), check.port);
    return rows_.back();
}

void DiagnosisRun::thread_check() {
    const CheckGroups& groups = host_.check_groups;
    rows_.clear();
    failures_ = 0;
    completed_ = false;
    started_at_ = std::time(nullptr);
    ended_at_ = 0;
    events_.run_started(groups);

    // The flag is read before every item and after every group; a stop anywhere ends the run as
    // stopped, never as completed.
    for (size_t g = 0; g < groups.size() && !stop_requested_; ++g) {
        bool group_ok = true;
        for (size_t i = 0; i < groups[g].size() && !stop_requested_; ++i) {
            RunRow& row = update_check_list_before_start(static_cast<int>(g), static_cast<int>(i));
            if (!(host_.*row.item.handler)(&row.record)) {
                ++failures_;
                group_ok = false;
            }
            events_.check_finished(row);
        }
        if (stop_requested_) break;
        events_.group_finished(static_cast<int>(g), group_ok);
    }
    // A stop marks the last check cancelled, though it was checked to its end.
    completed_ = !stop_requested_;
    if (!completed_ && !rows_.empty()) rows_.back().record.result = RESULT_CANCELLED;
    // The result is whole before the end is told: a front end may offer it from then on.
    ended_at_ = std::time(nullptr);

    events_.run_finished(run_end());
    if (completed_)
        g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::thread_check", 1071, "checking completed.");
    else
        g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::thread_check", 1083, "checking cancelled.");
    busy_ = false;  // the last access to anything of the owner's
}

RunEnd DiagnosisRun::run_end() const {
    RunEnd end;
    end.completed = completed_;
    for (const RunRow& row : rows_)
        if (row.record.result.code != 0) end.failures.push_back(row);
    if (!completed_ && !rows_.empty()) end.cancelled = rows_.back();
    return end;
}
