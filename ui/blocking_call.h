#pragma once

#include <QMetaObject>
#include <QObject>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

// Qt's blocking queued call waits on a futex inside Qt that ThreadSanitizer does not see, so to it
// the caller's data used by the call, and the call's results read back, look unordered. These marks
// state the order the blocking call really gives; they do nothing in other builds.
inline void handoff_release([[maybe_unused]] void* token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(token);
#endif
}

inline void handoff_acquire([[maybe_unused]] void* token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(token);
#endif
}

// Runs a call on the thread that owns the context object and returns when it has run; the caller
// must be another thread, whose data the call may read and write.
template <typename Call>
void blocking_call(QObject* context, Call&& call)
{
    int token = 0;  // an address of this call's own
    handoff_release(&token);
    QMetaObject::invokeMethod(
        context,
        [&] {
            handoff_acquire(&token);
            call();
            handoff_release(&token);
        },
        Qt::BlockingQueuedConnection);
    handoff_acquire(&token);
}
