#pragma once

#include <QObject>
#include <QThread>

#include <utility>

#include "ui/blocking_call.h"

// Runs a call on the thread that owns the context object and returns when it has run. Workers use
// it to touch widgets; on the owning thread itself it is a plain call, since blocking that thread on
// itself would never return.
template <typename Call>
void call_on_ui_thread(QObject* context, Call&& call)
{
    if (QThread::currentThread() == context->thread())
        call();
    else
        blocking_call(context, std::forward<Call>(call));
}
