#pragma once

#include <QString>

#include <memory>

// The platform's half of the one-copy rule: a named lock the first copy holds for its whole life
// (instance_lock_posix.cpp: a lock file in the user's runtime folder; instance_lock_win.cpp: a named
// mutex of the logon session), and where that copy listens for a later one.
class InstanceLock {
public:
    enum class Result { kTaken, kHeldByAnotherCopy, kUnavailable };

    explicit InstanceLock(const QString& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock unless another copy holds it. kUnavailable: it could not be taken for another
    // reason (the tool then runs rather than refusing to start).
    Result Take();

    // The local-socket name under which the copy holding the lock `name` listens.
    static QString ChannelName(const QString& name);

    // Lets the copy holding the lock put its window in front of this one's (the desktop refuses that
    // to a program the user is not working with).
    static void LetFirstCopyComeForward();

private:
    struct Held;
    QString name_;
    std::unique_ptr<Held> held_;
};
