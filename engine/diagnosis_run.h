#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "engine/run_events.h"

class CCheckHost;

// Runs every check item of the host's check groups once, in order, on one worker thread, and reports
// what happens to the events. At most one worker runs at a time.
class DiagnosisRun {
public:
    DiagnosisRun(CCheckHost& host, RunEvents& events);
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
    // True once the worker has made its last call of the events and its last use of the host.
    bool finished() const { return !busy_; }

    // The results of the last run; read them once run_finished has been called, or when finished()
    // is true.
    const std::vector<RunRow>& rows() const { return rows_; }
    int failures() const { return failures_; }
    bool completed() const { return completed_; }
    // When the last run started and ended, in calendar seconds (0 before a run).
    int64_t started_at() const { return started_at_; }
    int64_t ended_at() const { return ended_at_; }

private:
    void thread_check();
    RunRow& update_check_list_before_start(int group, int item);
    RunEnd run_end() const;

    CCheckHost& host_;
    RunEvents& events_;
    std::thread worker_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> stop_requested_{false};
    std::vector<RunRow> rows_;
    int failures_ = 0;
    bool completed_ = false;
    int64_t started_at_ = 0;
    int64_t ended_at_ = 0;
};
