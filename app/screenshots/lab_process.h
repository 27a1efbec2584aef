#pragma once

#include <QMap>
#include <QProcess>
#include <QString>

// The product lab run as a child process for one scenario file of tools/lab/. The scenario's
// @PRODUCT_ROOT@ stands for a product folder (with its Agent, AgentWeb and Viewer folders) that the
// lab's user creates below `work_folder`.
class LabProcess {
public:
    LabProcess(QString executable, QString work_folder);
    ~LabProcess();
    LabProcess(const LabProcess&) = delete;
    LabProcess& operator=(const LabProcess&) = delete;

    // Starts the lab and reads the ports it bound; false (with error()) when it could not start.
    bool Start(const QString& scenario_path);
    // Ends the lab (it stops when its standard input closes); waits a bounded time.
    void Stop();

    // Every server name with the port bound for it.
    const QMap<QString, int>& ports() const { return ports_; }
    const QString& error() const { return error_; }

private:
    bool Fail(const QString& message);

    QString executable_;
    QString work_folder_;
    QProcess process_;
    QMap<QString, int> ports_;
    QString error_;
};
