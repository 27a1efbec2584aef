#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int kActivateTimeoutMs = 1000;
const QByteArray kActivateRequest = QByteArrayLiteral("activate\n");

// The user's runtime folder makes the name per user, as a logon-wide mutex would be.
QString per_user_path(const QString& name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(name);
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), lock_path_(per_user_path(name + QStringLiteral(".lock"))),
      server_name_(per_user_path(name)), lock_(lock_path_)
{
    // A lock is stale only when its process is gone, never because of its age.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (server_)
        server_->close();
    lock_.unlock();
}

bool SingleInstance::Acquire()
{
    if (lock_.tryLock(0)) {
        Listen();
        return true;
    }
    if (lock_.error() != QLockFile::LockFailedError)
        return true;
    AskFirstCopyToActivate();
    return false;
}

void SingleInstance::Listen()
{
    // A socket left behind by a copy that crashed would block listening.
    QLocalServer::removeServer(server_name_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            const auto read_request = [this, peer] {
                if (peer->canReadLine() && peer->readLine() == kActivateRequest)
                    emit ActivationRequested();
            };
            connect(peer, &QLocalSocket::readyRead, this, read_request);
            read_request();  // the request may have arrived with the connection
        }
    });
    server_->listen(server_name_);
}

void SingleInstance::AskFirstCopyToActivate() const
{
    QLocalSocket socket;
    socket.connectToServer(server_name_);
    if (!socket.waitForConnected(kActivateTimeoutMs))
        return;  // the first copy is still starting: nothing to bring forward
    socket.write(kActivateRequest);
    socket.waitForBytesWritten(kActivateTimeoutMs);
    socket.disconnectFromServer();
}
