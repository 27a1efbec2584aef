#include "app/single_instance.h"

#include <QLocalSocket>

namespace {

constexpr int kActivateTimeoutMs = 1000;
const QByteArray kActivateRequest = QByteArrayLiteral("activate\n");

}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), server_name_(InstanceLock::ChannelName(name)), lock_(name)
{
}

SingleInstance::~SingleInstance()
{
    if (server_)
        server_->close();
}

bool SingleInstance::Acquire()
{
    switch (lock_.Take()) {
    case InstanceLock::Result::kTaken:
        Listen();
        return true;
    case InstanceLock::Result::kUnavailable:
        return true;
    case InstanceLock::Result::kHeldByAnotherCopy:
        break;
    }
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
    InstanceLock::LetFirstCopyComeForward();
    socket.write(kActivateRequest);
    socket.waitForBytesWritten(kActivateTimeoutMs);
    socket.disconnectFromServer();
}
