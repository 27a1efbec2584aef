#include "tests/gui/gui_support.h"
#include "ui/CHeaderCtrlEx.h"
#include "ui/CVtListCtrlEx.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ListCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        list.resize(400, 300);
        list.SetRowHeight(20);
        list.SetHeaderHeight(20);
    }

    // Clicks the middle of a header item, as the user sorts.
    void ClickHeader(int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        CHeaderCtrlEx* header = list.GetHeaderCtrl();
        const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, 8);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, middle);
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < list.GetRowCount(); ++row)
            texts << list.GetItemText(row, column);
        return texts;
    }

    CVtListCtrlEx list;
};

TEST_F(ListCtrlTest, ColumnTextStopsAtThePairWithoutComma)
{
    EXPECT_EQ(list.SetColumns(QStringLiteral("구분,56;진단 시각,65;진단 대상,200")), 3);
    EXPECT_EQ(list.GetColumnLabel(1), QStringLiteral("진단 시각"));
    EXPECT_EQ(list.GetColumnWidth(2), 200);

    EXPECT_EQ(list.SetColumns(QStringLiteral("A,10;B;C,30")), 1);
    EXPECT_EQ(list.GetColumnLabel(0), QStringLiteral("A"));
    EXPECT_EQ(list.GetColumnWidth(0), 10);
    EXPECT_EQ(list.GetColumnSortState(0), CVtListCtrlEx::kNeverSorted);
}

TEST_F(ListCtrlTest, AddRowKeepsEmptyPiecesAndDropsExtraOnes)
{
    list.SetColumns(QStringLiteral("a,50;b,50;c,50"));
    EXPECT_EQ(list.AddRow(-1, QStringLiteral("1|2|3|4"), QStringLiteral("|")), 0);
    EXPECT_EQ(list.AddRow(-1, QStringLiteral("x||z"), QStringLiteral("|")), 1);
    EXPECT_EQ(Column(0), QStringList({"1", "x"}));
    EXPECT_EQ(Column(1), QStringList({"2", ""}));
    EXPECT_EQ(Column(2), QStringList({"3", "z"}));
    EXPECT_EQ(list.GetItemText(0, 3), QString());

    // Inserting at an index moves the later rows down.
    EXPECT_EQ(list.AddRow(0, QStringLiteral("first"), QStringLiteral("|")), 0);
    EXPECT_EQ(Column(0), QStringList({"first", "1", "x"}));

    CVtListCtrlEx no_columns;
    EXPECT_EQ(no_columns.AddRow(-1, QStringLiteral("a|b"), QStringLiteral("|")), -1);
    EXPECT_EQ(no_columns.GetRowCount(), 0);
}

TEST_F(ListCtrlTest, AddRowsFromTextFillsEveryCellOfLargeLists)
{
    list.SetColumns(QStringLiteral("a,50;b,50"));
    list.AddRow(-1, QStringLiteral("old|row"), QStringLiteral("|"));
    QString text;
    for (int i = 0; i < 12000; ++i)
        text += QStringLiteral("%1|v%1\n").arg(i);
    text.chop(1);
    list.AddRowsFromText(text, QStringLiteral("|"), true);
    ASSERT_EQ(list.GetRowCount(), 12000);
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("0"));
    // Rows past the single-cell update limit still get all their cells.
    EXPECT_EQ(list.GetItemText(11999, 1), QStringLiteral("v11999"));
}

TEST_F(ListCtrlTest, OutOfRangeUpdatesAreIgnoredAndReadsGiveEmptyText)
{
    list.SetColumns(QStringLiteral("a,50;b,50"));
    for (int i = 0; i < 5; ++i)
        list.AddRow(-1, QStringLiteral("r%1|x").arg(i), QStringLiteral("|"));
    list.SetItemText(5, 0, QStringLiteral("beyond"));
    list.SetItemText(-1, 0, QStringLiteral("before"));
    list.SetItemText(0, 7, QStringLiteral("no column"));
    EXPECT_EQ(list.GetRowCount(), 5);
    EXPECT_EQ(Column(0), QStringList({"r0", "r1", "r2", "r3", "r4"}));
    EXPECT_EQ(list.GetItemText(5, 0), QString());
    EXPECT_EQ(list.GetItemText(0, -1), QString());
    list.SetItemText(4, 1, QStringLiteral("changed"));
    EXPECT_EQ(list.GetItemText(4, 1), QStringLiteral("changed"));
    list.SetCellTextColor(9, 0, 0xFF0000FF);  // ignored, no crash
    EXPECT_EQ(list.GetCellTextColor(9, 0), kNoColor);
}

TEST_F(ListCtrlTest, SingleCellUpdatesStopAboveTenThousandRows)
{
    list.SetColumns(QStringLiteral("a,50"));
    QString text;
    for (int i = 0; i < CVtListCtrlEx::kMaxEditableRows; ++i)
        text += QStringLiteral("r\n");
    text.chop(1);
    list.AddRowsFromText(text, QStringLiteral("|"), true);
    ASSERT_EQ(list.GetRowCount(), 10000);
    list.SetItemText(9999, 0, QStringLiteral("accepted"));
    EXPECT_EQ(list.GetItemText(9999, 0), QStringLiteral("accepted"));
    list.AddRow(-1, QStringLiteral("one more"), QStringLiteral("|"));
    list.SetItemText(0, 0, QStringLiteral("refused"));
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("r"));
}

TEST_F(ListCtrlTest, HeaderClicksSortDescendingThenAscendingStablyIgnoringCase)
{
    list.SetColumns(QStringLiteral("name,100;tag,100"));
    list.AddRowsFromText(QStringLiteral("b|1\nA|2\nc|3\na|4\nB|5"), QStringLiteral("|"), true);
    list.show();

    ClickHeader(0);
    EXPECT_EQ(list.GetColumnSortState(0), CVtListCtrlEx::kDescending);
    EXPECT_EQ(Column(0), QStringList({"c", "b", "B", "A", "a"}));
    EXPECT_EQ(Column(1), QStringList({"3", "1", "5", "2", "4"}));  // equal names keep their order
    EXPECT_TRUE(list.GetHeaderCtrl()->IsSortDescending());

    ClickHeader(0);
    EXPECT_EQ(list.GetColumnSortState(0), CVtListCtrlEx::kAscending);
    EXPECT_EQ(Column(0), QStringList({"A", "a", "b", "B", "c"}));
    EXPECT_EQ(list.GetHeaderCtrl()->GetSortColumn(), 0);
    EXPECT_FALSE(list.GetHeaderCtrl()->IsSortDescending());
}

TEST_F(ListCtrlTest, CtrlClickSortsByTextColour)
{
    list.SetColumns(QStringLiteral("name,100"));
    list.AddRowsFromText(QStringLiteral("a\nb\nc\nd"), QStringLiteral("|"), true);
    list.SetCellTextColor(0, 0, 0xFF000002);
    list.SetCellTextColor(1, 0, 0xFF000001);
    list.SetCellTextColor(3, 0, 0xFF000002);
    list.show();

    ClickHeader(0, Qt::ControlModifier);  // descending; equal colours by text
    EXPECT_EQ(Column(0), QStringList({"c", "d", "a", "b"}));  // kNoColor 0xFF11EB35 is the largest
    ClickHeader(0, Qt::ControlModifier);
    EXPECT_EQ(Column(0), QStringList({"b", "d", "a", "c"}));
}

TEST_F(ListCtrlTest, DisabledHeaderClickNeitherSortsNorPresses)
{
    list.SetColumns(QStringLiteral("name,100"));
    list.AddRowsFromText(QStringLiteral("a\nc\nb"), QStringLiteral("|"), true);
    list.EnableHeaderClick(false);
    list.show();
    ClickHeader(0);
    EXPECT_EQ(Column(0), QStringList({"a", "c", "b"}));
    EXPECT_EQ(list.GetHeaderCtrl()->GetPressedItem(), -1);

    list.EnableHeaderClick(true);
    list.EnableSort(false);
    ClickHeader(0);
    EXPECT_EQ(Column(0), QStringList({"a", "c", "b"}));
}

TEST_F(ListCtrlTest, DividersOfANonClickableHeaderStillDrag)
{
    list.SetColumns(QStringLiteral("a,100;b,100"));
    list.EnableHeaderClick(false);
    list.show();
    QWidget* header = list.GetHeaderCtrl()->viewport();
    auto send = [header](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const QPointF local(x, 8);
        QMouseEvent event(type, local, header->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(header, &event);
    };
    send(QEvent::MouseButtonPress, 99, Qt::LeftButton);
    send(QEvent::MouseMove, 129, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 129, Qt::NoButton);
    EXPECT_EQ(list.GetColumnWidth(0), 130);
}

TEST_F(ListCtrlTest, CellColoursSurviveSelection)
{
    list.SetColumns(QStringLiteral("a,100;b,100"));
    list.AddRowsFromText(QStringLiteral("x|y\nz|w"), QStringLiteral("|"), true);
    list.SetCellTextColor(0, 0, 0xFFB22222);
    list.SetCellBackColor(0, 1, 0xFF00FF00);
    list.SelectRow(0);
    ASSERT_TRUE(list.IsRowSelected(0));

    const CSCColorTheme& theme = list.GetColorTheme();
    EXPECT_EQ(list.ResolveCellColors(0, 0).text, 0xFFB22222u);
    EXPECT_EQ(list.ResolveCellColors(0, 0).back, theme.slot(CSCColorTheme::kSelectedBackNoFocus));
    EXPECT_EQ(list.ResolveCellColors(0, 1).text, theme.slot(CSCColorTheme::kSelectedTextNoFocus));

    list.show();
    const QRect cell = list.GetCellRect(0, 1);
    EXPECT_EQ(PixelAt(*list.viewport(), cell.right() - 3, cell.center().y()), qRgb(0, 255, 0));
    const QRect other = list.GetCellRect(0, 0);
    EXPECT_EQ(PixelAt(*list.viewport(), other.right() - 3, other.center().y()),
              theme.color(CSCColorTheme::kSelectedBackNoFocus).rgb());
}

TEST_F(ListCtrlTest, AlternateRowsUseSlotElevenOnOddRows)
{
    list.SetColumns(QStringLiteral("a,100"));
    list.AddRowsFromText(QStringLiteral("0\n1\n2"), QStringLiteral("|"), true);
    const CSCColorTheme& theme = list.GetColorTheme();
    EXPECT_EQ(list.ResolveCellColors(1, 0).back, theme.slot(CSCColorTheme::kBack));
    list.EnableAlternateRows(true);
    EXPECT_EQ(list.ResolveCellColors(0, 0).back, theme.slot(CSCColorTheme::kBack));
    EXPECT_EQ(list.ResolveCellColors(1, 0).back, theme.slot(CSCColorTheme::kAlternateBack));
    EXPECT_EQ(list.ResolveCellColors(2, 0).back, theme.slot(CSCColorTheme::kBack));
}


TEST_F(ListCtrlTest, TheAutoFillColumnTakesTheRestOfTheWidthAndKeepsIt)
{
    list.SetColumns(QStringLiteral("a,60;b,80;c,50"));
    list.EnableAlternateRows(true);
    list.AddRowsFromText(QStringLiteral("0\n1\n2"), QStringLiteral("|"), true);
    list.SetAutoFillColumn(2);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    auto filled_to = [this] { return list.GetCellRect(0, 2).right() + 1; };
    EXPECT_EQ(filled_to(), list.viewport()->width() - 2);
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);
    // The striping runs to the edge: an odd row's last cell is alternate-coloured near the right end.
    const int x = list.viewport()->width() - 3;
    EXPECT_EQ(PixelAt(*list.viewport(), x, list.GetCellRect(1, 2).center().y()),
              list.GetColorTheme().color(CSCColorTheme::kAlternateBack).rgb());

    list.resize(700, 300);
    EXPECT_EQ(filled_to(), list.viewport()->width() - 2);
    list.SetColumnWidth(0, 160);  // another column grows: the filler gives way
    EXPECT_EQ(filled_to(), list.viewport()->width() - 2);

    // Many rows bring a vertical scroll bar, which narrows the client area: still filled.
    list.AddRowsFromText(QStringLiteral("r\n").repeated(100).trimmed(), QStringLiteral("|"), true);
    QCoreApplication::processEvents();
    ASSERT_TRUE(list.verticalScrollBar()->isVisible());
    EXPECT_EQ(filled_to(), list.viewport()->width() - 2);

    // Narrower than the other columns: the filler keeps the width it had when chosen, the list scrolls.
    list.resize(200, 300);
    EXPECT_EQ(list.GetColumnWidth(2), 50);
    EXPECT_GT(list.horizontalScrollBar()->maximum(), 0);

    list.SetAutoFillColumn(-1);
    list.resize(900, 300);
    EXPECT_EQ(list.GetColumnWidth(2), 50);
    EXPECT_EQ(list.GetAutoFillColumn(), -1);
}

TEST_F(ListCtrlTest, EmptyTextShowsWhileTheListHasNoRows)
{
    list.SetColumns(QStringLiteral("a,100"));
    list.SetThemeColor(CSCColorTheme::kBack, 0xFFFFFFFF);
    list.SetEmptyText(QStringLiteral("진단 실패 항목이 없습니다."), 9, 0xFF000000);
    list.show();
    auto dark_pixels_in_middle = [this] {
        const QImage image = list.viewport()->grab().toImage();
        const int middle = image.height() / 2;
        int dark = 0;
        for (int y = middle - 10; y <= middle + 10; ++y) {
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
        return dark;
    };
    EXPECT_GT(dark_pixels_in_middle(), 0);
    list.AddRow(-1, QString(), QStringLiteral("|"));
    EXPECT_EQ(dark_pixels_in_middle(), 0);
}

TEST_F(ListCtrlTest, ScrollToRowMakesTheRowTheLastFullyVisibleOne)
{
    list.SetColumns(QStringLiteral("a,100"));
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("%1\n").arg(i);
    text.chop(1);
    list.AddRowsFromText(text, QStringLiteral("|"), true);
    list.show();
    const int per_page = list.GetRowsPerPage();
    list.ScrollToRow(100);
    EXPECT_EQ(list.GetFirstVisibleRow(), 100 - per_page + 1);
    list.ScrollToRow(3);  // above the page: still last visible, clamped at the top
    EXPECT_EQ(list.GetFirstVisibleRow(), 0);

    // New rows follow the end until the user selects a row.
    list.AddRow(-1, QStringLiteral("new"), QStringLiteral("|"));
    EXPECT_EQ(list.GetFirstVisibleRow(), 200 - per_page + 1);
    list.SelectRow(10);
    EXPECT_FALSE(list.IsAutoScroll());
    list.AddRow(-1, QStringLiteral("newer"), QStringLiteral("|"));
    EXPECT_EQ(list.GetFirstVisibleRow(), 200 - per_page + 1);
}

TEST_F(ListCtrlTest, KeyboardSelectsAllAndFindsRowsByTypeAhead)
{
    list.SetColumns(QStringLiteral("a,100"));
    list.AddRowsFromText(QStringLiteral("alpha\nbeta\ngamma"), QStringLiteral("|"), true);
    list.show();
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(list.IsRowSelected(0) && list.IsRowSelected(1) && list.IsRowSelected(2));

    EXPECT_EQ(list.FindItem(QStringLiteral("BETA")), 1);
    EXPECT_EQ(list.FindItem(QStringLiteral("bet")), -1);
    QTest::keyClicks(&list, QStringLiteral("Gamma"));
    EXPECT_EQ(list.GetSelectedRow(), 2);
    EXPECT_FALSE(list.IsRowSelected(0));

    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.GetSelectedRow(), 1);
}

TEST_F(ListCtrlTest, FontSizeStepsAndColumnWidthsFromSettings)
{
    list.SetFontSize(12);
    EXPECT_EQ(list.GetFontPointSize(), 12);
    list.SetFontSize(1);
    EXPECT_EQ(list.GetFontPointSize(), 13);
    list.SetFontSize(40);
    list.SetFontSize(1);
    EXPECT_EQ(list.GetFontPointSize(), 40);
    EXPECT_FALSE(list.SetFontFace(QString(32, QChar(u'x'))));
    EXPECT_TRUE(list.SetFontFace(QStringLiteral("NanumGothic")));

    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("list log/column width/1"), 150);
    settings.setValue(QStringLiteral("list log/column width/0"), 0);
    list.SetColumns(QStringLiteral("a,56;b,65"));
    list.LoadColumnWidths(settings, QStringLiteral("list log"));
    EXPECT_EQ(list.GetColumnWidth(0), 56);
    EXPECT_EQ(list.GetColumnWidth(1), 150);
}

}  // namespace
