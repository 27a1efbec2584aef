// The main window as a screen reader walks it during the completion message of a run, and as the
// keyboard goes through it.
#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include "app/CTarvoCheckToolDlg.h"
#include "app/run_look.h"
#include "app/window_text.h"
#include "res/window_texts.h"
#include "tests/app/app_support.h"
#include "tests/integration/lab_support.h"

namespace {

constexpr int kRunTimeoutMs = 60000;

// One line per object: its role, name and description, below the name of the table it lies in. As a
// screen reader does, it does not go into what is not shown (the hidden pages, a hidden window).
void Walk(QAccessibleInterface* node, const QString& table, QStringList& lines)
{
    const QString name = node->text(QAccessible::Name);
    lines << QStringLiteral("%1%2 %3 | %4")
                 .arg(table.isEmpty() ? QString() : table + QLatin1Char('/'))
                 .arg(qAccessibleRoleString(node->role()), name, node->text(QAccessible::Description));
    if (node->state().invisible)
        return;
    const QString inner = node->role() == QAccessible::Table ? name : table;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i))
            Walk(child, inner, lines);
    }
}

class WindowAccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lab.start(LabScenario(kWebDownMembers, kWebDownServers))) << lab.error();
        UseLabWebServer(lab);
        window = std::make_unique<CTarvoCheckToolDlg>();
        window->host().user_privilege = [] { return 2; };
        ASSERT_TRUE(window->OnInitDialog());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Runs with Enter; `at_message` sees the window while the completion message shows, then it is
    // answered.
    bool Run(const std::function<void()>& at_message)
    {
        EventHook hook(window->message_box(), [&](QEvent* event) {
            if (event->type() == QEvent::Show)
                QTimer::singleShot(0, &window->message_box(), [&] {
                    at_message();
                    window->message_box().Answer(CSCMessageBox::kOk);
                });
        });
        QSignalSpy finished(window.get(), &CTarvoCheckToolDlg::RunFinished);
        QTest::keyClick(window.get(), Qt::Key_Return);
        return finished.count() > 0 || finished.wait(kRunTimeoutMs);
    }

    ProductLab lab;
    std::unique_ptr<CTarvoCheckToolDlg> window;
};

TEST_F(WindowAccessibilityTest, TheTreeHoldsEveryStepEveryResultAndTheCompletionMessage)
{
    QStringList tree;
    ASSERT_TRUE(Run([&] { Walk(QAccessible::queryAccessibleInterface(qApp), {}, tree); }));

    const auto has = [&](const QString& line) { return tree.contains(line); };
    const CSCStepCtrl& steps = window->steps();
    EXPECT_TRUE(has(QStringLiteral("List 진단 리스트 | ")));
    for (int g = 0; g < steps.GetStepCount(); ++g) {
        const QString state = g == 2 ? QStringLiteral("실패") : QStringLiteral("완료");
        EXPECT_TRUE(has(QStringLiteral("ListItem %1 | %2").arg(steps.StepText(g), state))) << g;
    }
    const CVtListCtrlEx& log = window->log_page().list();
    ASSERT_EQ(log.GetRowCount(), 4);
    EXPECT_EQ(tree.filter(QStringLiteral("진단 로그/Cell Ok |")).size(), 3);
    EXPECT_EQ(tree.filter(QStringLiteral("진단 로그/Cell Fail |")).size(), 1);
    EXPECT_TRUE(has(QStringLiteral("진단 로그/ColumnHeader 결과 | ")));
    EXPECT_TRUE(has(QStringLiteral("Animation 진단 대기 중 | ")));
    EXPECT_TRUE(has(QStringLiteral("ToolBar 창 단추 | ")));
    EXPECT_TRUE(has(QStringLiteral("Button 닫기 | ")));

    const QString message = window_text(text::kCompletionMessage);
    EXPECT_TRUE(has(QStringLiteral("Dialog %1 | %2\n10초 후 자동으로 닫힙니다.")
                        .arg(window->message_box().GetTitle(), message)));
    EXPECT_TRUE(has(QStringLiteral("StaticText %1 | ").arg(message)));
    EXPECT_TRUE(has(QStringLiteral("Button %1 | ").arg(window->message_box().GetAnswerButton(CSCMessageBox::kOk)->text())));
}

TEST_F(WindowAccessibilityTest, TabGoesFromTheActionsToTheTabsAndTheListAndBack)
{
    // The start button, disabled for a moment while the run starts, keeps the keyboard.
    window->start_button().setFocus();
    ASSERT_TRUE(Run([] {}));
    window->activateWindow();  // back from the message box
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), &window->start_button());
    QList<QWidget*> order;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget();
    }
    EXPECT_EQ(order, QList<QWidget*>({&window->save_log_button(), window->tabs().Bar(), &window->log_page().list(),
                                      &window->start_button()}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), &window->log_page().list());

    // In the list the arrows go through the rows; Ctrl+Tab, and the arrows in the tabs, change the page.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(window->log_page().list().GetFocusedRow(), 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->tabs().currentIndex(), 1);
    window->tabs().Bar()->setFocus();
    QTest::keyClick(window->tabs().Bar(), Qt::Key_Left);
    EXPECT_EQ(window->tabs().currentIndex(), 0);
}

}  // namespace
