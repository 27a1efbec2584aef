#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

#include "engine/run_events.h"

// Hands a run's events from its worker to the presenter on this object's thread, in the order they
// came. The worker goes on at once, except at the end of a completed run: the window then shows
// the completion message, and the run waits for it to close.
class UiThreadRunEvents : public QObject, public RunEvents {
public:
    explicit UiThreadRunEvents(RunEvents& presenter) : presenter_(presenter) {}

    void run_started(const CheckGroups& groups) override;
    void check_started(const RunRow& check) override;
    void check_finished(const RunRow& check) override;
    void group_finished(int group, bool passed) override;
    void run_finished(const RunEnd& end) override;

    // Hands over every event still waiting. On this object's thread; once the worker has ended,
    // what the run showed is then all shown.
    void flush();

private:
    void post(std::function<void(RunEvents&)> event);

    RunEvents& presenter_;
    std::mutex lock_;
    std::deque<std::function<void(RunEvents&)>> waiting_;
};
