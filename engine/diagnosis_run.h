#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "engine/check_item.h"
#include "engine/check_param.h"
#include "engine/run_view.h"

class CCheckHost;
class RunObserver;

// One finished check as the run recorded it: the row it showed and the record its handler filled.
struct RunRow {
    int group_index = 0;
    int item_index = 0;
    CCheckItem item;
    std::string text;  // the row's first four cells, joined by "|"
    LogRowCompletion completion;
    CCheckParam record;
};

// Runs every check item of the host's check groups once, in order, on one worker thread, and reports
// every display change to the observer. At most one worker runs at a time.
class DiagnosisRun {
public:
    DiagnosisRun(CCheckHost& host, RunObserver& observer);
    ~DiagnosisRun();  // stops a run in progress and waits for its worker
    DiagnosisRun(const DiagnosisRun&) = delete;
    DiagnosisRun& operator=(const DiagnosisRun&) = delete;

    // Starts a run; false while a worker is alive, even one that is only stopping (a fast double
    // start starts one worker).
    bool start();
    // Asks the run to stop after the current item. The request holds from the moment it is made
    // until the next start: the worker only reads it, so nothing the worker does can cancel it.
    void request_stop();
    // Blocks until the worker has ended. Only for callers that need not dispatch window messages.
    void wait();

    // From start() until a stop is requested or the worker ends.
    bool running() const { return busy_ && !stop_requested_; }
    // True once the worker has made its last call of the observer and its last use of the host.
    bool finished() const { return !busy_; }

    // The results of the last run; read them only when finished() is true.
    const std::vector<RunRow>& rows() const { return rows_; }
    int failures() const { return failures_; }
    bool completed() const { return completed_; }
    // When the last run started and ended, in calendar seconds (0 before a run).
    int64_t started_at() const { return started_at_; }
    int64_t ended_at() const { return ended_at_; }

private:
    void thread_check();
    void update_check_list_before_start(int group, int item);
    void show_stopped_run();
    std::vector<std::string> failed_check_rows() const;

    CCheckHost& host_;
    RunObserver& observer_;
    std::thread worker_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> stop_requested_{false};
    std::vector<RunRow> rows_;
    int failures_ = 0;
    bool completed_ = false;
    int64_t started_at_ = 0;
    int64_t ended_at_ = 0;
};
