#include "app/instance_lock.h"

#include <windows.h>

struct InstanceLock::Held {
    HANDLE mutex = nullptr;
    // Never owned, only held open: closing the last handle ends the mutex.
    ~Held() { CloseHandle(mutex); }
};

InstanceLock::InstanceLock(const QString& name) : name_(name) {}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::Take()
{
    // Not initially owned: the mutex exists as long as a copy keeps its handle open; copies started
    // from other folders or under other file names meet the same name.
    const std::wstring name = name_.toStdWString();
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    const DWORD error = GetLastError();
    if (mutex == nullptr)
        return error == ERROR_ALREADY_EXISTS ? Result::kHeldByAnotherCopy : Result::kUnavailable;
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return Result::kHeldByAnotherCopy;
    }
    held_ = std::make_unique<Held>();
    held_->mutex = mutex;
    return Result::kTaken;
}

QString InstanceLock::ChannelName(const QString& name)
{
    // Pipe names are machine-wide; the user's name keeps two users' copies apart.
    return name + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
}

void InstanceLock::LetFirstCopyComeForward()
{
    AllowSetForegroundWindow(ASFW_ANY);
}
