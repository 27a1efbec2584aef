#pragma once

#include <QMetaObject>
#include <QObject>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

// Runs a call on the thread that owns the context object and returns when it has run; the caller
// must be another thread, whose data the call may read and write.
//
// Qt's blocking queued call waits on a futex inside Qt that ThreadSanitizer does not see, so to it
// the caller's data used by the call, and the call's results read back, look unordered. The marks
// state the order the blocking call really gives; they are empty in other builds.
template <typename Call>
void blocking_call(QObject* context, Call&& call)
{
    int token = 0;  // an address of this call's own
#if defined(__SANITIZE_THREAD__)
    __tsan_release(&token);
#endif
    QMetaObject::invokeMethod(
        context,
        [&] {
#if defined(__SANITIZE_THREAD__)
            __tsan_acquire(&token);
#endif
            call();
#if defined(__SANITIZE_THREAD__)
            __tsan_release(&token);
#endif
        },
        Qt::BlockingQueuedConnection);
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(&token);
#endif
}
