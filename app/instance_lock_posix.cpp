#include "app/instance_lock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace {

// The user's runtime folder makes the name per user, as a logon-wide mutex would be.
QString per_user_path(const QString& name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(name);
}

}  // namespace

struct InstanceLock::Held {
    explicit Held(const QString& path) : file(path)
    {
        // A lock is stale only when its process is gone, never because of its age.
        file.setStaleLockTime(0);
    }
    ~Held() { file.unlock(); }
    QLockFile file;
};

InstanceLock::InstanceLock(const QString& name) : name_(name) {}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::Take()
{
    auto held = std::make_unique<Held>(per_user_path(name_ + QStringLiteral(".lock")));
    if (held->file.tryLock(0)) {
        held_ = std::move(held);
        return Result::kTaken;
    }
    if (held->file.error() == QLockFile::LockFailedError)
        return Result::kHeldByAnotherCopy;
    return Result::kUnavailable;
}

QString InstanceLock::ChannelName(const QString& name)
{
    return per_user_path(name);
}

void InstanceLock::LetFirstCopyComeForward() {}
