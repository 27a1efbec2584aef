#pragma once

#include "app/run_view.h"
#include "engine/run_events.h"

// Turns a diagnosis run's events into the window's changes: the step captions and colours, the
// buttons, the progress bar, the picture, the log and result pages and the completion message, in
// the window's order. Runs on the window's thread.
class RunPresenter : public RunEvents {
public:
    explicit RunPresenter(RunView& view) : view_(view) {}

    void run_started(const CheckGroups& groups) override;
    void check_started(const RunRow& check) override;
    void check_finished(const RunRow& check) override;
    void group_finished(int group, bool passed) override;
    void run_finished(const RunEnd& end) override;

private:
    void show_completed_run(const RunEnd& end);
    void show_stopped_run(const RunEnd& end);

    RunView& view_;
    CheckGroups groups_;
};
