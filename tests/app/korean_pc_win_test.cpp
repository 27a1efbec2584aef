// The window as a Korean user has it: Windows in code page 949, a Hangul account, the program in a
// Hangul folder with a space (scripts/wine-run --korean gives this test such a Wine prefix).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/CTarvoCheckToolDlg.h"
#include "app/pumping_wait.h"
#include "sys/fs_path.h"
#include "tests/app/app_support.h"
#include "tests/integration/lab_support.h"
#include "tests/report/zip_test_support.h"

namespace {

constexpr int kRunTimeoutMs = 60000;
const QString kHangulFolder = QStringLiteral("새 폴더 (2)");

}  // namespace

TEST(KoreanPc, TheWindowInAHangulFolderLoadsItsListAndSavesABundle) {
    ASSERT_TRUE(QDir::homePath().contains(QStringLiteral("홍길동"))) << "run under scripts/wine-run --korean";
    const QString program = QCoreApplication::applicationFilePath();
    if (!program.contains(kHangulFolder)) {
        // This test again, as a copy where a Korean user unpacks the program.
        const QString folder = QDir::homePath() + QStringLiteral("/Desktop/") + kHangulFolder;
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString copy = folder + QLatin1Char('/') + QFileInfo(program).fileName();
        ASSERT_TRUE(QFile::copy(program, copy));
        QProcess again;
        again.setProcessChannelMode(QProcess::ForwardedChannels);
        again.start(copy, {QStringLiteral("--gtest_filter=KoreanPc.*")});
        ASSERT_TRUE(again.waitForFinished(4 * kRunTimeoutMs));
        EXPECT_EQ(again.exitCode(), 0);
        QDir(folder).removeRecursively();
        return;
    }

    ProductLab lab;
    const std::string root =
        QDir::fromNativeSeparators(QString::fromStdString(lab.folder() + "/퀜모라 제품")).toStdString();
    std::filesystem::create_directories(fs_path(root + "/Agent/Log"));
    std::ofstream(fs_path(root + "/Agent/Log/에이전트 기록.log")) << "에이전트 시작\n";
    ASSERT_TRUE(lab.start(LabScenario(R"("web": ["127.0.0.1:{web}"])",
                                      R"("http": [{"name": "web", "steps": [{"status": 200}]}])", root)))
        << lab.error();
    UseLabWebServer(lab);
    CTarvoCheckToolDlg window;  // the bundle goes where it goes for the user: under the profile
    MessageAnswerer answerer(window.message_box(), CSCMessageBox::kOk);
    ASSERT_TRUE(OpenAndRunToTheEnd(window));
    QSignalSpy revealed(&window, &CTarvoCheckToolDlg::ArchiveRevealed);
    window.save_log_button().click();
    ASSERT_TRUE(revealed.count() > 0 || revealed.wait(kRunTimeoutMs));
    wait_pumping_until([&] { return !window.collecting(); });

    const std::string archive = revealed.at(0).at(0).toString().toStdString();
    EXPECT_THAT(QDir::fromNativeSeparators(QString::fromStdString(archive)).toStdString(),
                ::testing::StartsWith(QDir::homePath().toStdString() + "/"));
    EXPECT_THAT(zipinfo_names(archive),
                ::testing::IsSupersetOf({"check_result.txt", "Quenmora Test_log.zip"}));
    for (const std::string& made : {archive, archive + ".sha256"}) std::filesystem::remove(fs_path(made));
    // The tool's own log, beside the program.
    EXPECT_FALSE(QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/Log")).isEmpty());
}
