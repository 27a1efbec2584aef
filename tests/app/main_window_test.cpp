#include <QDir>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>
#include <QToolTip>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/CTarvoCheckToolDlg.h"
#include "app/collection_progress.h"
#include "app/pumping_wait.h"
#include "app/run_look.h"
#include "app/window_text.h"
#include "res/engine_texts.h"
#include "res/window_texts.h"
#include "tests/app/app_support.h"
#include "tests/integration/lab_support.h"
#include "tests/report/zip_test_support.h"

namespace {

constexpr int kRunTimeoutMs = 60000;

// Three proxies; the second answers its first request only after a while, so a stop can land on it.
const std::string kSlowProxyMembers = R"("proxy": ["127.0.0.1:{p1}", "127.0.0.1:{p2}", "127.0.0.1:{p3}"])";
const std::string kSlowProxyServers =
    R"("http": [{"name": "p1", "steps": [{"status": 200}]},)"
    R"( {"name": "p2", "steps": [{"status": 200, "delay_ms": 3000}, {"status": 200}]},)"
    R"( {"name": "p3", "steps": [{"status": 200}]}])";
// The second proxy is slow on every try, so a second run is still running whenever the test looks.
const std::string kAlwaysSlowProxyServers =
    R"("http": [{"name": "p1", "steps": [{"status": 200}]},)"
    R"( {"name": "p2", "steps": [{"status": 200, "delay_ms": 3000}]},)"
    R"( {"name": "p3", "steps": [{"status": 200}]}])";

// The folder is named the platform's way.
const QString kMissingLogFolderMessage =
    QDir::toNativeSeparators(QStringLiteral("/nonexistent/Agent/Log")) + QStringLiteral("\n위의 폴더가 존재하지 않습니다.");

class MainWindowTest : public ::testing::Test {
protected:
    // Opens the window on the lab's product as the application does; false when the check list did
    // not load (the window is then not shown).
    bool Open(const std::string& scenario)
    {
        if (!lab.start(scenario)) {
            ADD_FAILURE() << lab.error();
            return false;
        }
        UseLabWebServer(lab);
        NewWindow();
        window->host().user_privilege = [] { return 2; };
        answerer = std::make_unique<MessageAnswerer>(window->message_box(), CSCMessageBox::kOk);
        if (!window->OnInitDialog())
            return false;
        window->show();
        return true;
    }

    // The logs are collected below the test's home: on Windows the default folder comes from the
    // system, whatever the environment says.
    void NewWindow()
    {
        window = std::make_unique<CTarvoCheckToolDlg>();
        window->SetCollectionFolder((TestHome() + QStringLiteral("/collection")).toStdString());
    }

    void Press(Qt::Key key) { QTest::keyClick(window.get(), key); }

    // Starts a run with Enter and returns once its worker has finished with the window.
    bool RunToTheEnd()
    {
        QSignalSpy finished(window.get(), &CTarvoCheckToolDlg::RunFinished);
        Press(Qt::Key_Return);
        return finished.count() > 0 || finished.wait(kRunTimeoutMs);
    }

    void WaitForLogRows(int rows)
    {
        wait_pumping_until([&] { return window->log_page().list().GetRowCount() >= rows; });
    }

    QString Cell(int row, int column) const { return window->log_page().list().GetItemText(row, column); }

    ProductLab lab;
    std::unique_ptr<CTarvoCheckToolDlg> window;
    std::unique_ptr<MessageAnswerer> answerer;
};

TEST_F(MainWindowTest, ACheckListThatCannotBeLoadedIsExplainedAndTheWindowNeverShows)
{
    struct Case {
        std::string web;
        QString message;
    } cases[] = {
        {R"({"web": {"https_port": 0, "https_status": 404, "checklist": {}}})",
         QStringLiteral("서버에서 checklist.json 파일을 불러올 수 없습니다.\n(error = 404)")},
        {R"({"web": {"https_port": 0, "checklist": "{not json"}})",
         QStringLiteral("checklist.json 파일이 올바른 json 형태가 아닙니다.")},
        {R"({"web": {"https_port": 0, "checklist": {"product path agent": "/a"}}})",
         QStringLiteral("\"product title\" is empty.")},
    };
    for (const Case& c : cases) {
        ProductLab web;
        ASSERT_TRUE(web.start(c.web)) << web.error();
        UseLabWebServer(web);
        CTarvoCheckToolDlg dialog;
        MessageAnswerer answers(dialog.message_box(), CSCMessageBox::kOk);
        bool shown = false;
        QObject::connect(&dialog.message_box(), &CSCMessageBox::Answered,
                         [&] { shown = shown || dialog.isVisible(); });

        EXPECT_EQ(dialog.DoModal(), QDialog::Rejected);
        EXPECT_EQ(answers.Count(), 1);
        EXPECT_EQ(answers.LastText(), c.message);
        EXPECT_FALSE(shown);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(MainWindowTest, ALoadedCheckListShowsTheProductAndItsSteps)
{
    ASSERT_TRUE(Open(LabScenario(kWebDownMembers, kWebDownServers)));
    EXPECT_EQ(window->windowTitle().toStdString(), window->host().caption());
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Quenmora Test Check Tool (ver. ")));

    const CheckGroups& groups = window->host().check_groups;
    ASSERT_EQ(groups.size(), 3u);  // account, API, web
    ASSERT_EQ(window->steps().GetStepCount(), 3);
    const ARGB product_color = window->GetColorTheme().slot(CSCColorTheme::kCaptionBack);
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(window->steps().StepText(g).toStdString(), idle_step_caption(groups[g]));
        EXPECT_EQ(window->steps().CaptionColorOf(g), product_color);
    }
    EXPECT_EQ(window->start_button().text(), QStringLiteral("진단 시작"));
    EXPECT_TRUE(window->start_button().isEnabled());
    EXPECT_FALSE(window->save_log_button().isEnabled());
    EXPECT_FALSE(window->progress().isVisible());
    EXPECT_EQ(window->progress().maximum(), 4);
}

TEST_F(MainWindowTest, ACompletedRunWithAFailureEndsReadyToSaveLogs)
{
    ASSERT_TRUE(Open(LabScenario(kWebDownMembers, kWebDownServers)));
    ASSERT_TRUE(RunToTheEnd());

    EXPECT_EQ(answerer->Count(), 1);
    EXPECT_EQ(answerer->LastText(), window_text(text::kCompletionMessage));
    EXPECT_EQ(window->start_button().text(), QStringLiteral("진단 시작"));
    EXPECT_TRUE(window->start_button().isEnabled());
    EXPECT_TRUE(window->save_log_button().isEnabled());
    EXPECT_FALSE(window->progress().isVisible());

    const CheckGroups& groups = window->host().check_groups;
    EXPECT_EQ(window->steps().GetCurrentStep(), 3);
    EXPECT_EQ(window->steps().StepText(1).toStdString(), passed_step_caption(groups[1]));
    EXPECT_EQ(window->steps().StepText(2).toStdString(), failed_step_caption(groups[2]));
    EXPECT_EQ(window->steps().CaptionColorOf(2), kStepFailedColor);
    EXPECT_EQ(window->steps().FillColorOf(2), kStepFailedColor);

    CVtListCtrlEx& log = window->log_page().list();
    ASSERT_EQ(log.GetRowCount(), 4);
    EXPECT_EQ(Cell(2, 5), QStringLiteral("Ok"));
    EXPECT_EQ(Cell(3, 5), QStringLiteral("Fail"));
    EXPECT_EQ(Cell(3, 6), QStringLiteral("503"));
    EXPECT_EQ(log.GetCellTextColor(3, 0), kStepFailedColor);

    // The failure is listed on the result page, so it is never blank after a failed check.
    CVtListCtrlEx& result = window->result_page().list();
    ASSERT_EQ(result.GetRowCount(), 1);
    EXPECT_EQ(result.GetItemText(0, 0), QStringLiteral("Fail"));
}

TEST_F(MainWindowTest, EnterStopsARunDuringTheSecondItemOfAThreeItemGroup)
{
    ASSERT_TRUE(Open(LabScenario(kSlowProxyMembers, kSlowProxyServers)));
    QSignalSpy finished(window.get(), &CTarvoCheckToolDlg::RunFinished);
    Press(Qt::Key_Return);
    WaitForLogRows(3);  // the account, the first proxy, and the slow second proxy being checked
    ASSERT_TRUE(window->run().running());
    Press(Qt::Key_Return);

    // The stop returns once the worker has finished with the window.
    EXPECT_TRUE(window->run().finished());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_FALSE(finished.at(0).at(0).toBool());
    EXPECT_EQ(answerer->Count(), 0);  // no completion message for a stopped run

    const CheckGroup& proxies = window->host().check_groups[1];
    EXPECT_EQ(window->steps().StepText(1), QStringLiteral("프록시 서버 체크 중지 (2/3)"));
    EXPECT_EQ(window->steps().StepText(1).toStdString(), stopped_step_caption(proxies, 2));
    EXPECT_EQ(window->steps().CaptionColorOf(1), kStepStoppedColor);
    EXPECT_EQ(window->steps().GetStepState(1), CSCStepCtrl::kStepStopped);  // in words, for screen readers

    ASSERT_EQ(window->log_page().list().GetRowCount(), 3);
    EXPECT_EQ(Cell(2, 5), QStringLiteral("Fail"));
    EXPECT_EQ(Cell(2, 6), QStringLiteral("90001"));
    EXPECT_FALSE(window->save_log_button().isEnabled());
    EXPECT_TRUE(window->start_button().isEnabled());
    EXPECT_EQ(window->start_button().text(), QStringLiteral("진단 시작"));
    EXPECT_EQ(window->result_page().list().GetEmptyText(), window_text(text::kCancelledText));
}

TEST_F(MainWindowTest, EscapeStopsTheRunThenCancelKeepsTheWindowAndOkClosesIt)
{
    ASSERT_TRUE(Open(LabScenario(kSlowProxyMembers, kAlwaysSlowProxyServers)));
    Press(Qt::Key_Return);
    WaitForLogRows(3);

    // A second Escape while the question shows neither asks again nor closes behind the user's back.
    answerer->SetAnswer(CSCMessageBox::kCancel);
    QTimer::singleShot(0, window.get(), [this] { Press(Qt::Key_Escape); });
    Press(Qt::Key_Escape);
    EXPECT_EQ(answerer->Count(), 1);
    EXPECT_EQ(answerer->LastText(), QStringLiteral("시스템 진단툴을 종료합니다."));
    EXPECT_TRUE(window->run().finished());
    EXPECT_FALSE(window->run().running());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->start_button().isEnabled());

    // The cancelled close ended the picture's animation thread; the next run animates it again.
    QSignalSpy frames(&window->picture().Image(), &CGdiplusBitmap::frameDrawn);
    Press(Qt::Key_Return);
    EXPECT_TRUE(frames.wait(kRunTimeoutMs));
    EXPECT_FALSE(window->picture().Image().is_paused());

    answerer->SetAnswer(CSCMessageBox::kOk);
    Press(Qt::Key_Escape);
    EXPECT_EQ(answerer->Count(), 2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST_F(MainWindowTest, EachTabShowsExactlyItsOwnPage)
{
    ASSERT_TRUE(Open(LabScenario("", "")));
    QWidget* pages[] = {&window->log_page(), &window->result_page(), &window->error_code_page()};
    for (int tab : {2, 0, 1}) {
        window->tabs().setCurrentIndex(tab);
        for (int page = 0; page < 3; ++page)
            EXPECT_EQ(pages[page]->isVisible(), page == tab) << "tab " << tab << ", page " << page;
    }
}

TEST_F(MainWindowTest, SavingLogsPacksAnArchiveAndRevealsIt)
{
    const std::filesystem::path root = std::filesystem::path(lab.folder()) / "product";
    std::filesystem::create_directories(root / "Agent" / "Log");
    std::ofstream(root / "Agent" / "Log" / "agent.log") << "agent started\n";
    // A log of several pieces, so that its packing moves the bar within its step.
    std::ofstream(root / "Agent" / "Log" / "trace.log") << std::string(3 << 20, 'x');
    ASSERT_TRUE(Open(LabScenario(kWebDownMembers, kWebDownServers, root.generic_string())));
    ASSERT_TRUE(RunToTheEnd());
    ASSERT_TRUE(window->save_log_button().isEnabled());

    std::vector<int> positions;
    QObject::connect(&window->save_log_progress().Bar(), &QProgressBar::valueChanged,
                     [&](int value) { positions.push_back(value); });
    QSignalSpy revealed(window.get(), &CTarvoCheckToolDlg::ArchiveRevealed);
    window->save_log_button().click();
    EXPECT_TRUE(window->save_log_progress().isVisible());
    ASSERT_TRUE(revealed.wait(kRunTimeoutMs));
    wait_pumping_until([&] { return !window->collecting(); });

    const QString archive = revealed.at(0).at(0).toString();
    EXPECT_TRUE(QFileInfo(archive).isFile()) << archive.toStdString();
    EXPECT_TRUE(archive.startsWith(TestHome())) << archive.toStdString();
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(window->save_log_progress().isVisible());
    EXPECT_EQ(answerer->Count(), 1);  // only the completion message: the log folder exists
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end() - 1)) << "the bar never goes back before its reset";
    EXPECT_TRUE(std::any_of(positions.begin(), positions.end(), [](int p) { return p % kTicksPerStep != 0; }))
        << "packing moved the bar within its step";
}

TEST_F(MainWindowTest, AMissingLogFolderIsToldWhileTheWindowTakesNoInputAndTheCollectionGoesOn)
{
    ASSERT_TRUE(Open(LabScenario(kWebDownMembers, kWebDownServers)));
    ASSERT_TRUE(RunToTheEnd());
    QSignalSpy revealed(window.get(), &CTarvoCheckToolDlg::ArchiveRevealed);
    window->save_log_button().click();
    ASSERT_TRUE(revealed.wait(kRunTimeoutMs));
    wait_pumping_until([&] { return !window->collecting(); });

    EXPECT_EQ(answerer->Count(), 2);
    EXPECT_EQ(answerer->LastText(), kMissingLogFolderMessage);
    EXPECT_TRUE(answerer->LastAnswerable());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(MainWindowTest, ClosingTheWindowDuringARunOrACollectionWaitsForTheWorker)
{
    ASSERT_TRUE(Open(LabScenario(kSlowProxyMembers, kSlowProxyServers)));
    Press(Qt::Key_Return);
    WaitForLogRows(3);
    answerer.reset();
    window.reset();  // must neither hang nor touch freed controls

    ASSERT_TRUE(lab.stop());
    ProductLab second;
    ASSERT_TRUE(second.start(LabScenario(kWebDownMembers, kWebDownServers))) << second.error();
    UseLabWebServer(second);
    NewWindow();
    answerer = std::make_unique<MessageAnswerer>(window->message_box(), CSCMessageBox::kOk);
    ASSERT_TRUE(window->OnInitDialog());
    window->show();
    ASSERT_TRUE(RunToTheEnd());
    window->save_log_button().click();
    window.reset();  // the collection's message about the missing log folder is still answered
}

// Closing the window (and answering OK) during a collection stops it: no archive and no working
// folder stay behind, and the window goes without waiting for the collection's end.
TEST_F(MainWindowTest, ClosingTheWindowDuringACollectionStopsIt)
{
    ASSERT_TRUE(Open(LabScenario(kWebDownMembers, kWebDownServers)));
    const std::filesystem::path folder = std::filesystem::path(lab.folder()) / "collection";
    window->SetCollectionFolder(folder.string());
    ASSERT_TRUE(RunToTheEnd());
    bool closing = false;
    QObject::connect(&window->save_log_progress().Bar(), &QProgressBar::valueChanged, window.get(), [&](int value) {
        if (value != kTicksPerStep || closing) return;
        closing = true;
        QTimer::singleShot(0, window.get(), [&] { window->close(); });
    });
    window->save_log_button().click();
    wait_pumping_until([&] { return !window->collecting(); });

    EXPECT_TRUE(closing);
    EXPECT_FALSE(window->isVisible());
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) left.push_back(entry.path().string());
    EXPECT_TRUE(left.empty()) << left.front();
}

}  // namespace

namespace {

// The caption's context menu stands in for the system menu: its one item opens the about box.
TEST_F(MainWindowTest, TheCaptionMenuOpensTheAboutBox)
{
    ASSERT_TRUE(Open(LabScenario("", "")));
    QString item;
    QString about_title;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 4);  // minimise, close, a separator and the about box
        item = menu->actions().back()->text();
        QTimer::singleShot(0, [&] {
            QWidget* about = QApplication::activeModalWidget();
            ASSERT_NE(about, nullptr);
            about_title = about->windowTitle();
            about->close();
        });
        menu->actions().back()->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(100, 10), window->mapToGlobal(QPoint(100, 10)));
    QApplication::sendEvent(window.get(), &event);
    EXPECT_EQ(item, QStringLiteral("TarvoCheckTool 정보(&A)..."));
    EXPECT_EQ(about_title, QStringLiteral("TarvoCheckTool 정보"));
}

}  // namespace

namespace {

TEST_F(MainWindowTest, TheDisabledSaveLogButtonStillExplainsItself)
{
    ASSERT_TRUE(Open(LabScenario("", "")));
    CGdiButton& button = window->save_log_button();
    ASSERT_FALSE(button.isEnabled());
    const QPoint inside = button.geometry().center();
    QHelpEvent request(QEvent::ToolTip, inside, window->mapToGlobal(inside));
    QApplication::sendEvent(window.get(), &request);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("압축파일로 저장합니다.")));
    QToolTip::hideText();
}

}  // namespace

namespace {

// Stop and close race the worker: a close that lands while a stop waits for the slow check must
// wait for the worker's end, not merely for the run to look stopped, before it asks and closes.
TEST_F(MainWindowTest, AClosePendingBehindAStopWaitsForTheWorkersEnd)
{
    ASSERT_TRUE(Open(LabScenario(kSlowProxyMembers, kSlowProxyServers)));
    Press(Qt::Key_Return);
    WaitForLogRows(3);
    ASSERT_TRUE(window->run().running());
    bool worker_ended_when_answered = false;
    QObject::connect(&window->message_box(), &CSCMessageBox::Answered, window.get(),
                     [&] { worker_ended_when_answered = window->run().finished(); });
    QTimer::singleShot(0, window.get(), [this] { Press(Qt::Key_Escape); });  // during the stop's wait
    Press(Qt::Key_Return);

    EXPECT_EQ(answerer->Count(), 1);
    EXPECT_TRUE(worker_ended_when_answered);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, SortingTheLogDuringARunKeepsEachResultOnItsRowAndTheReportInRunOrder)
{
    ASSERT_TRUE(Open(LabScenario(kSlowProxyMembers, kSlowProxyServers)));
    QSignalSpy finished(window.get(), &CTarvoCheckToolDlg::RunFinished);
    Press(Qt::Key_Return);
    WaitForLogRows(3);  // the second proxy is being checked
    CVtListCtrlEx& log = window->log_page().list();
    // Header clicks on the category column until the account row, appended first, comes last.
    log.SortByColumn(0, false);
    if (Cell(2, 0) != QStringLiteral("계정")) log.SortByColumn(0, false);
    ASSERT_EQ(Cell(2, 0), QStringLiteral("계정"));
    ASSERT_TRUE(finished.wait(kRunTimeoutMs));

    ASSERT_EQ(log.GetRowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Cell(row, 5), QStringLiteral("Ok")) << "row " << row;
        if (Cell(row, 0) == QStringLiteral("계정")) {
            EXPECT_EQ(Cell(row, 4), QStringLiteral("0ms"))
                << "the slow proxy's time landed on the account row";
        }
    }

    QSignalSpy revealed(window.get(), &CTarvoCheckToolDlg::ArchiveRevealed);
    window->save_log_button().click();
    ASSERT_TRUE(revealed.wait(kRunTimeoutMs));
    wait_pumping_until([&] { return !window->collecting(); });
    const QString report =
        QString::fromStdString(unzip_entry(revealed.at(0).at(0).toString().toStdString(), "check_result.txt"));
    const qsizetype account = report.indexOf(QStringLiteral("관리자 계정"));
    ASSERT_GE(account, 0) << report.toStdString();
    EXPECT_LT(account, report.indexOf(QStringLiteral("프록시")))
        << "the report lists the checks in run order";
}

// The collection blocks the window's input without disabling it: a disabled window would grey out
// its progress window too. The progress window is looked at as the application configures it.
TEST_F(MainWindowTest, DuringACollectionTheWindowTakesNoInputYetNothingLooksDisabled)
{
    ASSERT_TRUE(Open(LabScenario(kWebDownMembers, kWebDownServers)));
    ASSERT_TRUE(RunToTheEnd());
    const int messages_before = answerer->Count();
    CSCProgressDlg& progress = window->save_log_progress();
    bool looked = false, all_enabled = false, blocked = false, run_started = false;
    QImage picture;
    QObject::connect(&progress.Bar(), &QProgressBar::valueChanged, window.get(), [&](int value) {
        if (value != 3 * kTicksPerStep || looked) return;
        looked = true;
        all_enabled = window->isEnabled() && progress.isEnabled() && progress.Label().isEnabled() &&
                      window->start_button().isEnabled();
        blocked = window->InputBlocked();
        picture = progress.grab().toImage();
        QTest::mouseClick(&window->start_button(), Qt::LeftButton);
        QTest::keyClick(window.get(), Qt::Key_Return);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        run_started = !window->run().finished();
    });
    QSignalSpy revealed(window.get(), &CTarvoCheckToolDlg::ArchiveRevealed);
    window->save_log_button().click();
    ASSERT_TRUE(revealed.wait(kRunTimeoutMs));
    wait_pumping_until([&] { return !window->collecting(); });

    ASSERT_TRUE(looked);
    EXPECT_TRUE(all_enabled);
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(run_started);
    EXPECT_EQ(answerer->Count(), messages_before + 1)
        << "only the missing folder is told: no closing question";
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->InputBlocked());

    int darkest = 255;
    const QRect label = progress.Label().geometry().translated(progress.Client().pos());
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x)
            darkest = std::min(darkest, qGray(picture.pixel(x, y)));
    EXPECT_LT(darkest, 64) << "the message is drawn in black, not a disabled grey";
    const QPoint bar = progress.Bar().mapTo(&progress, QPoint(0, 0));
    const int middle = bar.y() + progress.Bar().height() / 2;
    EXPECT_EQ(picture.pixel(bar.x() + 10, middle), qRgb(65, 105, 225));
    const QColor track = picture.pixelColor(bar.x() + progress.Bar().width() - 3, middle);
    EXPECT_EQ(track.rgb(), CMacProgressCtrl().TrackColor().rgb()) << "the track keeps its button shadow";
    EXPECT_NE(track, QColor(Qt::white));
}

// A close request during a collection (the window manager's, say) asks a question the user can
// answer, and the collection's own message waits for the box instead of being dropped.
TEST_F(MainWindowTest, TheClosingQuestionDuringACollectionIsAnswerableAndTheCollectionsMessageStillShows)
{
    ASSERT_TRUE(Open(LabScenario(kWebDownMembers, kWebDownServers)));
    ASSERT_TRUE(RunToTheEnd());
    answerer.reset();  // this test answers by itself
    CSCMessageBox& box = window->message_box();
    CMacProgressCtrl& bar = window->save_log_progress().Bar();

    // The collection reaches the window through queued calls; the first after its eighth step is
    // its message about the missing log folder.
    bool message_tried = false;
    EventHook calls(*window, [&](QEvent* event) {
        if (event->type() == QEvent::MetaCall && window->collecting() && bar.value() == 8 * kTicksPerStep)
            message_tried = true;
    });
    int questions = 0;
    bool question_answerable = false, message_answerable = false;
    QStringList messages;
    EventHook shown(box, [&](QEvent* event) {
        if (event->type() != QEvent::Show) return;
        const QString text = box.GetMessageArea()->GetText();
        if (text == QStringLiteral("시스템 진단툴을 종료합니다.")) {
            ++questions;
            question_answerable = box.isEnabled();
            QTimer::singleShot(0, &box, [&] {
                wait_pumping_until([&] { return message_tried; });  // the question is still up
                box.Answer(CSCMessageBox::kCancel);
            });
        } else {
            messages << text;
            message_answerable = box.isEnabled();
            QTimer::singleShot(0, &box, [&] { box.Answer(CSCMessageBox::kOk); });
        }
    });
    QObject::connect(&bar, &QProgressBar::valueChanged, window.get(), [&](int value) {
        if (value == kTicksPerStep) QTimer::singleShot(0, window.get(), [&] { window->close(); });
    });
    window->save_log_button().click();
    wait_pumping_until([&] { return !window->collecting(); });

    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(question_answerable);
    EXPECT_TRUE(message_tried);
    EXPECT_EQ(messages,
              QStringList{kMissingLogFolderMessage});
    EXPECT_TRUE(message_answerable);
    EXPECT_TRUE(window->isVisible()) << "Cancel keeps the window";
}

}  // namespace
