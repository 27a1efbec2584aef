// The window when the log archive cannot be written: the user is told, and the window comes back.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "app/CTarvoCheckToolDlg.h"
#include "app/pumping_wait.h"
#include "tests/app/app_support.h"
#include "tests/integration/lab_support.h"

namespace {

constexpr int kRunTimeoutMs = 60000;

TEST(SaveLogFailure, TheWindowTellsTheUserThatTheArchiveFailed) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(LabScenario(R"("web": ["127.0.0.1:{web}"])",
                                      R"("http": [{"name": "web", "steps": [{"status": 200}]}])")))
        << lab.error();
    UseLabWebServer(lab);
    CTarvoCheckToolDlg window;
    MessageAnswerer answerer(window.message_box(), CSCMessageBox::kOk);
    ASSERT_TRUE(OpenAndRunToTheEnd(window));

    // A file where the collection folder's parent should be: nothing of the collection can be written.
    const QString blocker = TestHome() + QStringLiteral("/data_blocker");
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    window.SetCollectionFolder(blocker.toStdString() + "/Temp");

    QSignalSpy revealed(&window, &CTarvoCheckToolDlg::ArchiveRevealed);
    window.save_log_button().click();
    ASSERT_TRUE(revealed.count() > 0 || revealed.wait(kRunTimeoutMs));
    wait_pumping_until([&] { return !window.collecting(); });

    const QString archive = revealed.at(0).at(0).toString();
    EXPECT_TRUE(archive.startsWith(blocker + QStringLiteral("/Temp/"))) << archive.toStdString();
    EXPECT_EQ(answerer.LastText(), archive + QStringLiteral("\n위의 압축 파일을 생성할 수 없습니다."));
    EXPECT_TRUE(answerer.LastAnswerable());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(window.save_log_progress().isVisible());
}

}  // namespace
