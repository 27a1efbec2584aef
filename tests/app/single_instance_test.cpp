#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <future>

#include "app/single_instance.h"
#include "tests/app/app_support.h"

namespace {

qint64 log_folder_size(const QString& folder)
{
    qint64 bytes = 0;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files))
        bytes += file.size();
    return bytes;
}

TEST(SingleInstanceTest, ALaterCopyIsRefusedAndBringsTheFirstForward)
{
    SingleInstance first(QStringLiteral("single_instance_test"));
    ASSERT_TRUE(first.Acquire());
    QSignalSpy activated(&first, &SingleInstance::ActivationRequested);

    // The later copy asks from a thread of its own, as from its own process, while this one listens:
    // a Windows pipe's request is only taken up while the first copy's event loop runs.
    SingleInstance second(QStringLiteral("single_instance_test"));
    std::future<bool> second_runs = std::async(std::launch::async, [&second] { return second.Acquire(); });
    EXPECT_TRUE(activated.wait(5000));
    EXPECT_FALSE(second_runs.get());

    SingleInstance other_name(QStringLiteral("single_instance_test_other"));
    EXPECT_TRUE(other_name.Acquire());
}

TEST(SingleInstanceTest, TheFirstCopyEndingLetsTheNextOneRun)
{
    {
        SingleInstance first(QStringLiteral("single_instance_handover"));
        ASSERT_TRUE(first.Acquire());
    }
    SingleInstance next(QStringLiteral("single_instance_handover"));
    EXPECT_TRUE(next.Acquire());
}

// The real program started while a copy runs: it ends at once, shows and logs nothing, and the running
// copy is asked to come forward.
TEST(SingleInstanceTest, TheToolStartedAgainEndsSilently)
{
    // With the platform's suffix for programs, if any.
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("checktool"),
                                                        {QStringLiteral(CHECKTOOL_BINARY_DIR "/app")});
    ASSERT_TRUE(QFileInfo(tool).isExecutable()) << CHECKTOOL_BINARY_DIR "/app/checktool is missing";
    SingleInstance running;
    ASSERT_TRUE(running.Acquire());
    QSignalSpy activated(&running, &SingleInstance::ActivationRequested);
    const QString log_folder = QFileInfo(tool).absolutePath() + QStringLiteral("/Log");
    const qint64 log_before = log_folder_size(log_folder);

    QProcess second;
    second.start(tool, {});
    ASSERT_TRUE(second.waitForStarted());
    EXPECT_TRUE(activated.wait(10000));
    // It may have ended while the activation was being received.
    if (second.state() != QProcess::NotRunning) {
        ASSERT_TRUE(second.waitForFinished(10000));
    }
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_EQ(log_folder_size(log_folder), log_before);
}

}  // namespace
