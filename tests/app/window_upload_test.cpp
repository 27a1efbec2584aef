// The window started with --upload: after "로그 저장" the archive goes to the store in the progress
// window, a message tells how it went, the archive stays and is shown; closing the window stops it.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/CTarvoCheckToolDlg.h"
#include "app/pumping_wait.h"
#include "sys/fs_path.h"
#include "tests/app/app_support.h"
#include "tests/integration/lab_support.h"

namespace {

constexpr int kRunTimeoutMs = 60000;

const std::string kRoot = TestHome().toStdString() + "/upload_product";

// The lab with a store answering PUTs with the given steps, as the window's web server.
bool StartLabWithStore(ProductLab& lab, const std::string& store_steps)
{
    if (!lab.start(LabScenario(R"("web": ["127.0.0.1:{web}"])",
                               R"("http": [{"name": "web", "steps": [{"status": 200}]}, {"name": "store", "steps": )" +
                                   store_steps + "}]",
                               kRoot)))
        return false;
    UseLabWebServer(lab);
    return true;
}

// A finished run in a window that sends its archives to the lab's store.
bool RunWithUpload(CTarvoCheckToolDlg& window, const ProductLab& lab)
{
    ArchiveUploadOptions upload;
    upload.url = "http://127.0.0.1:" + std::to_string(lab.port("store")) + "/case/bundle.zip?sig=k3y";
    window.SetArchiveUpload(upload);
    window.SetCollectionFolder(TestHome().toStdString() + "/upload_collection");
    return OpenAndRunToTheEnd(window);
}

TEST(WindowUpload, TheArchiveGoesToTheStoreAndTheMessageSaysHowThenItIsShown)
{
    ProductLab lab;
    ASSERT_TRUE(StartLabWithStore(lab, R"([{"status": 200, "headers": {"ETag": "\"{md5}\""}}])")) << lab.error();
    CTarvoCheckToolDlg window;
    MessageAnswerer answerer(window.message_box(), CSCMessageBox::kOk);
    ASSERT_TRUE(RunWithUpload(window, lab));
    QSignalSpy revealed(&window, &CTarvoCheckToolDlg::ArchiveRevealed);
    QSignalSpy moved(&window.save_log_progress().Bar(), &QProgressBar::valueChanged);
    window.save_log_button().click();
    ASSERT_TRUE(revealed.count() > 0 || revealed.wait(kRunTimeoutMs));
    wait_pumping_until([&] { return !window.collecting(); });

    const QString archive = revealed.at(0).at(0).toString();
    EXPECT_TRUE(std::filesystem::is_regular_file(fs_path(archive.toStdString())));
    EXPECT_TRUE(std::filesystem::is_regular_file(fs_path(archive.toStdString() + ".sha256")))
        << "an archive sent on has its checksum beside it, as from the command line";
    const QString told = answerer.LastText();
    EXPECT_TRUE(told.startsWith(QStringLiteral("압축 파일을 지원 센터로 보냈습니다.\n\n127.0.0.1:"))) << told.toStdString();
    EXPECT_TRUE(told.endsWith(QStringLiteral("무결성 확인: MD5 일치"))) << told.toStdString();
    EXPECT_EQ(moved.last().at(0).toInt(), 0);  // the bar went back once all was done
    EXPECT_FALSE(told.contains(QStringLiteral("k3y")));
    EXPECT_FALSE(window.save_log_progress().isVisible());
    EXPECT_TRUE(window.save_log_progress().Label().GetText().startsWith(QStringLiteral("시스템 정보 및 로그를 수집중입니다")));
}

TEST(WindowUpload, ClosingTheWindowDuringTheUploadStopsItAndKeepsTheArchive)
{
#ifdef _WIN32
    GTEST_SKIP() << "Wine's send ends at a stop only at its own time-out";
#endif
    ProductLab lab;
    ASSERT_TRUE(StartLabWithStore(lab, R"([{"stall_after_body_bytes": 1048576}])")) << lab.error();
    CTarvoCheckToolDlg window;
    MessageAnswerer answerer(window.message_box(), CSCMessageBox::kOk);
    ASSERT_TRUE(RunWithUpload(window, lab));
    // Logs that do not compress, more than the store takes before it stalls.
    std::filesystem::create_directories(fs_path(kRoot + "/Agent/Log"));
    std::string noise(6 << 20, '\0');
    std::mt19937 random(3);
    for (char& c : noise)
        c = static_cast<char>(random());
    std::ofstream(fs_path(kRoot + "/Agent/Log/trace.log"), std::ios::binary) << noise;

    CSCProgressDlg& progress = window.save_log_progress();
    QSignalSpy moved(&progress.Bar(), &QProgressBar::valueChanged);
    window.save_log_button().click();
    const auto sending = [&] {
        return progress.Label().GetText().startsWith(QStringLiteral("압축 파일을 지원 센터(127.0.0.1:")) &&
               progress.Bar().value() > 0;
    };
    while (!sending())
        ASSERT_TRUE(moved.wait(kRunTimeoutMs)) << "the bar stopped before the upload moved it";
    EXPECT_LT(progress.Bar().value(), progress.Bar().maximum());

    QSignalSpy revealed(&window, &CTarvoCheckToolDlg::ArchiveRevealed);
    const int messages = answerer.Count();
    window.reject();  // the close question is answered OK
    ASSERT_TRUE(revealed.count() > 0 || revealed.wait(5000)) << "the stop did not end the upload";
    wait_pumping_until([&] { return !window.collecting(); });
    EXPECT_EQ(answerer.Count(), messages + 1) << "only the close question: " << answerer.LastText().toStdString();
    EXPECT_TRUE(std::filesystem::is_regular_file(fs_path(revealed.at(0).at(0).toString().toStdString())));
}

}  // namespace
