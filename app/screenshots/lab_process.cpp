#include "app/screenshots/lab_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int kStartLimitMs = 15000;
constexpr int kStopLimitMs = 10000;

}  // namespace

LabProcess::LabProcess(QString executable, QString work_folder)
    : executable_(std::move(executable)), work_folder_(std::move(work_folder)) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

LabProcess::~LabProcess() {
    Stop();
}

bool LabProcess::Fail(const QString& message) {
    error_ = message;
    Stop();
    return false;
}

bool LabProcess::Start(const QString& scenario_path) {
    QFile scenario(scenario_path);
    if (!scenario.open(QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read %1").arg(scenario_path));
    const QString product_root = QDir(work_folder_).filePath(QStringLiteral("product"));
    for (const char* folder : {"Agent/Log", "AgentWeb", "Viewer/Log"})
        QDir().mkpath(QDir(product_root).filePath(QString::fromLatin1(folder)));
    const QByteArray text = scenario.readAll().replace("@PRODUCT_ROOT@", product_root.toUtf8());
    const QString used_path = QDir(work_folder_).filePath(QFileInfo(scenario_path).fileName());
    QFile used(used_path);
    if (!used.open(QIODevice::WriteOnly | QIODevice::Truncate) || used.write(text) != text.size())
        return Fail(QStringLiteral("cannot write %1").arg(used_path));
    used.close();

    process_.start(executable_, {used_path});
    if (!process_.waitForStarted(kStartLimitMs))
        return Fail(QStringLiteral("cannot start %1: %2").arg(executable_, process_.errorString()));
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(kStartLimitMs))
            return Fail(QStringLiteral("the lab printed no ports for %1").arg(scenario_path));
    }
    const QJsonObject bound = QJsonDocument::fromJson(process_.readLine()).object();
    if (bound.isEmpty())
        return Fail(QStringLiteral("the lab's ports line for %1 is not a JSON object").arg(scenario_path));
    ports_.clear();
    for (auto it = bound.begin(); it != bound.end(); ++it) ports_.insert(it.key(), it.value().toInt());
    return true;
}

void LabProcess::Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(kStopLimitMs)) {
        process_.kill();
        process_.waitForFinished(kStopLimitMs);
    }
}
