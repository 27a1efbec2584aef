#include "app/ui_thread_run_events.h"

#include "ui/blocking_call.h"

void UiThreadRunEvents::run_started(const CheckGroups& groups)
{
    post([groups](RunEvents& to) { to.run_started(groups); });
}

void UiThreadRunEvents::check_started(const RunRow& check)
{
    post([check](RunEvents& to) { to.check_started(check); });
}

void UiThreadRunEvents::check_finished(const RunRow& check)
{
    post([check](RunEvents& to) { to.check_finished(check); });
}

void UiThreadRunEvents::group_finished(int group, bool passed)
{
    post([group, passed](RunEvents& to) { to.group_finished(group, passed); });
}

void UiThreadRunEvents::run_finished(const RunEnd& end)
{
    if (!end.completed) {
        post([end](RunEvents& to) { to.run_finished(end); });
        return;
    }
    // Not through the queue: a wake-up already on its way could take the end from there and hold
    // its message open while this call, finding nothing left, let the worker go.
    blocking_call(this, [&] {
        flush();
        presenter_.run_finished(end);
    });
}

// The events wait in a queue of this object's, behind a lock the worker and the window's thread
// both see; only a wake-up crosses Qt's own queue.
void UiThreadRunEvents::post(std::function<void(RunEvents&)> event)
{
    {
        const std::lock_guard guard(lock_);
        waiting_.push_back(std::move(event));
    }
    QMetaObject::invokeMethod(this, [this] { flush(); }, Qt::QueuedConnection);
}

// Only what has come so far: a worker that keeps sending would otherwise hold the window's thread
// here, with everything else it has to do waiting behind the whole run.
void UiThreadRunEvents::flush()
{
    std::deque<std::function<void(RunEvents&)>> events;
    {
        const std::lock_guard guard(lock_);
        events.swap(waiting_);
    }
    for (const auto& event : events)
        event(presenter_);
}
