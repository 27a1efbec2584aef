#include <QKeyEvent>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include "app/CDiagErrorCodeDlg.h"
#include "app/CDiagLogDlg.h"
#include "app/CDiagResultDlg.h"
#include "app/run_look.h"
#include "sys/error_text.h"
#include "tests/app/app_support.h"

namespace {

LogRowCompletion completion_of(int elapsed_ms, ResultCode result)
{
    CCheckParam record;
    record.elapsed_ms = elapsed_ms;
    record.result = result;
    return complete_log_row(record);
}

TEST(DiagLogPageTest, CompletedRowsShowTimeResultAndTheirColours)
{
    CDiagLogDlg page;
    CVtListCtrlEx& list = page.list();
    page.AddLogRow(0, QStringLiteral("계정|10:00:00|관리자 계정"));
    for (int i = 1; i <= 4; ++i)
        page.AddLogRow(i, QStringLiteral("웹|10:00:01|127****1|80"));

    page.CompleteLogRow(0, completion_of(50, RESULT_OK));
    page.CompleteLogRow(1, completion_of(51, RESULT_OK));
    page.CompleteLogRow(2, completion_of(301, RESULT_OK));
    page.CompleteLogRow(3, completion_of(12, RESULT_CONNECT));
    EXPECT_EQ(list.GetItemText(0, 3), QString());  // the account row has no port
    EXPECT_EQ(list.GetItemText(0, 4), QStringLiteral("50ms"));
    EXPECT_EQ(list.GetItemText(0, 5), QStringLiteral("Ok"));
    EXPECT_EQ(list.GetCellTextColor(0, 4), 0xFF007F00u);
    EXPECT_EQ(list.GetCellTextColor(1, 4), 0xFF20A5DAu);
    EXPECT_EQ(list.GetCellTextColor(2, 4), 0xFF00008Bu);
    EXPECT_EQ(list.GetItemText(3, 5), QStringLiteral("Fail"));
    EXPECT_EQ(list.GetItemText(3, 6), QStringLiteral("90103"));
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(list.GetCellTextColor(3, column), kStepFailedColor);

    // A stopped run marks its last row once more; a number the run never appended changes nothing.
    page.CompleteLogRow(4, completion_of(5, RESULT_CANCELLED));
    EXPECT_EQ(list.GetItemText(4, 6), QStringLiteral("90001"));
    for (int unknown : {-1, 7}) {
        page.CompleteLogRow(unknown, completion_of(5, RESULT_CANCELLED));
        EXPECT_EQ(list.GetRowCount(), 5);
        EXPECT_EQ(list.GetItemText(0, 6), QString());
    }
}

TEST(DiagLogPageTest, ARowIsCompletedWhereverSortingHasMovedIt)
{
    CDiagLogDlg page;
    CVtListCtrlEx& list = page.list();
    page.AddLogRow(0, QStringLiteral("계정|10:00:00|관리자 계정"));
    page.AddLogRow(1, QStringLiteral("웹|10:00:01|127****1|80"));
    page.AddLogRow(2, QStringLiteral("웹|10:00:02|127****2|81"));
    list.SortByColumn(3, false);  // a header click: ports descending, the rows reversed
    ASSERT_EQ(list.GetItemText(0, 3), QStringLiteral("81"));

    page.CompleteLogRow(2, completion_of(12, RESULT_CONNECT));
    page.CompleteLogRow(0, completion_of(50, RESULT_OK));
    EXPECT_EQ(list.GetItemText(0, 5), QStringLiteral("Fail"));
    EXPECT_EQ(list.GetCellTextColor(0, 0), kStepFailedColor);
    EXPECT_EQ(list.GetItemText(1, 5), QString()) << "the unfinished row stays as it was";
    EXPECT_EQ(list.GetCellTextColor(1, 0), kNoColor);
    EXPECT_EQ(list.GetItemText(2, 2), QStringLiteral("관리자 계정"));
    EXPECT_EQ(list.GetItemText(2, 5), QStringLiteral("Ok"));
}

TEST(DiagLogPageTest, EnterAndEscapeStayWithThePage)
{
    QWidget window;
    bool reached_window = false;
    struct KeyCatcher : QObject {
        bool* reached;
        explicit KeyCatcher(bool* flag) : reached(flag) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::KeyPress)
                *reached = true;
            return false;
        }
    } catcher(&reached_window);
    window.installEventFilter(&catcher);
    auto* page = new CDiagLogDlg(&window);
    window.show();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(&page->list(), key);
        EXPECT_TRUE(page->isVisible());
    }
    EXPECT_FALSE(reached_window);
}

TEST(DiagPagesTest, FontsComeFromTheirSettingsSections)
{
    {
        QSettings settings(QStringLiteral("Tarvo"), QStringLiteral("TarvoCheckTool"));
        settings.setValue(QStringLiteral("list log/font size"), 11);
        settings.setValue(QStringLiteral("list log/column width/2"), 150);
        settings.setValue(QStringLiteral("list log/column width/3"), 0);
        settings.setValue(QStringLiteral("list result/font size"), 12);
    }
    CDiagLogDlg log;
    CDiagResultDlg result;
    CDiagErrorCodeDlg codes;
    EXPECT_EQ(log.list().GetFontPointSize(), 11);
    EXPECT_EQ(codes.list().GetFontPointSize(), 11);
    EXPECT_EQ(result.list().GetFontPointSize(), 12);
    EXPECT_EQ(log.list().GetColumnWidth(2), 150);
    EXPECT_EQ(log.list().GetColumnWidth(3), 45);  // a stored width of 0 is ignored
    EXPECT_EQ(log.list().GetRowHeight(), 26);
    QSettings(QStringLiteral("Tarvo"), QStringLiteral("TarvoCheckTool")).clear();
}


// Whatever the column widths add up to, the last column reaches the list's right edge on every page,
// and keeps reaching it when the page changes size.
TEST(DiagPagesTest, TheLastColumnFillsTheListOnEveryPage)
{
    CDiagLogDlg log;
    CDiagResultDlg result;
    CDiagErrorCodeDlg codes;
    for (CDiagPage* page : std::initializer_list<CDiagPage*>{&log, &result, &codes}) {
        CVtListCtrlEx& list = page->list();
        const int last = list.GetColumnCount() - 1;
        for (const QSize size : {QSize(640, 480), QSize(1000, 300), QSize(700, 520)}) {
            page->resize(size);
            page->show();
            QCoreApplication::processEvents();
            const QRect cell = list.GetCellRect(0, last);
            EXPECT_EQ(cell.left() + cell.width(), list.viewport()->width() - 2)
                << page->metaObject()->className() << " at " << size.width() << "x" << size.height();
        }
        page->hide();
    }
}

TEST(DiagErrorCodePageTest, ResultCodesComeFirstThenKnownSystemCodesAscending)
{
    CDiagErrorCodeDlg page;
    const CVtListCtrlEx& list = page.list();
    const char* result_codes[] = {"0", "90001", "90002", "90101", "90102", "90103", "90104", "90105", "90106", "90107"};
    ASSERT_GT(list.GetRowCount(), 10);
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(list.GetItemText(row, 0), QString::fromLatin1(result_codes[row]));
        EXPECT_FALSE(list.GetItemText(row, 1).isEmpty());
    }
    int previous = 99;
    bool wininet_listed = false;
    for (int row = 10; row < list.GetRowCount(); ++row) {
        const int code = list.GetItemText(row, 0).toInt();
        EXPECT_GT(code, previous);
        EXPECT_LE(code, 12174);
        EXPECT_FALSE(is_unknown_error_text(list.GetItemText(row, 1).toStdString())) << code;
        wininet_listed = wininet_listed || code == 12029;
        previous = code;
    }
    EXPECT_TRUE(wininet_listed);
}

TEST(DiagResultPageTest, FailedChecksBecomeRows)
{
    CDiagResultDlg page;
    page.SetResultRows({"Fail|웹|HTTP 503", "Fail|세션|서버에 연결할 수 없습니다."});
    ASSERT_EQ(page.list().GetRowCount(), 2);
    EXPECT_EQ(page.list().GetItemText(1, 1), QStringLiteral("세션"));
    EXPECT_EQ(page.list().GetCellTextColor(0, 0), kStepFailedColor);
    page.SetResultRows({});
    EXPECT_EQ(page.list().GetRowCount(), 0);
}

}  // namespace
