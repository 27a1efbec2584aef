#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <memory>

#include "app/instance_lock.h"

// Keeps the tool to one copy per user: the first copy holds a named lock (InstanceLock) and listens on
// a local socket of the same name; a later copy finds the lock, asks the first copy over the socket to
// come to the front, and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kInstanceName = "MUTEX_OF_TarvoCheckTool";

    explicit SingleInstance(const QString& name = QString::fromLatin1(kInstanceName), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True for the first copy (or when the lock cannot be taken for another reason than a running
    // copy: the tool then runs rather than refusing to start). A later copy gets false after it has
    // asked the first copy to come forward.
    bool Acquire();

signals:
    // A later copy asked this one to bring its window to the front.
    void ActivationRequested();

private:
    void Listen();
    void AskFirstCopyToActivate() const;

    QString server_name_;
    InstanceLock lock_;
    std::unique_ptr<QLocalServer> server_;
};
