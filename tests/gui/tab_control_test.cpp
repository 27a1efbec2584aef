#include "tests/gui/gui_support.h"
#include "ui/CEnTabCtrl.h"

#include <QGuiApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TabControlTest : public ::testing::Test {
protected:
    void SetUp() override { CEnTabCtrl::EnableCustomLook(31); }
    void TearDown() override { CEnTabCtrl::EnableCustomLook(0); }

    // The main window's tab control at the given size, shown.
    void ShowLikeTheMainWindow(int width, int height)
    {
        tabs.SetBkgndColor(QColor(255, 255, 255));
        tabs.SetItemSize(QSize(500, 24));
        tabs.SetMinTabWidth(100);
        for (const char* title : {"진단 로그", "진단 결과", "에러 코드"})
            tabs.addTab(new QLabel, QString::fromUtf8(title));
        tabs.resize(width, height);
        tabs.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    }

    CEnTabCtrl tabs;
};

}  // namespace

TEST_F(TabControlTest, LookFlags31OnWhiteGiveGreyTabsAndAWhiteSelection)
{
    tabs.SetBkgndColor(QColor(255, 255, 255));
    EXPECT_EQ(tabs.TabColor(false), QColor(229, 229, 229));
    EXPECT_EQ(tabs.TabTextColor(false), QColor(127, 127, 127));
    EXPECT_EQ(tabs.TabColor(true), QColor(255, 255, 255));
    EXPECT_EQ(tabs.TabTextColor(true), QGuiApplication::palette().color(QPalette::WindowText));
}

TEST_F(TabControlTest, ColourRulesFollowTheLookBits)
{
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    tabs.SetBkgndColor(QColor(100, 200, 40));
    CEnTabCtrl::EnableCustomLook(1);  // colour unselected tabs, base stays button face
    EXPECT_EQ(tabs.BaseColor(), face);
    EXPECT_EQ(tabs.TabColor(false), QColor(100, 200, 40));
    EXPECT_EQ(tabs.TabColor(true), face);
    EXPECT_EQ(tabs.TabTextColor(false), QColor(50, 100, 20));
    CEnTabCtrl::EnableCustomLook(2 | 4);  // base from the background, bright selection
    EXPECT_EQ(tabs.TabColor(false), QColor(90, 180, 36));
    EXPECT_EQ(tabs.TabColor(true), QColor(140, 255, 56));
}

TEST_F(TabControlTest, PaintsTheItemFacesInTheirColours)
{
    ShowLikeTheMainWindow(1600, 200);
    const QRect first = tabs.GetFirstItemRect();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(first.height(), 24);

    const QImage strip = tabs.Bar()->grab().toImage();
    const QRect second = tabs.Bar()->ItemRect(1);
    EXPECT_EQ(QColor(strip.pixel(second.left() + 4, second.top() + 2)), QColor(229, 229, 229));
    const QRect selected = tabs.Bar()->ItemRect(0);
    EXPECT_EQ(QColor(strip.pixel(selected.left() + 4, selected.top() + 2)), QColor(255, 255, 255));

    tabs.setCurrentIndex(1);
    const QImage after = tabs.Bar()->grab().toImage();
    EXPECT_EQ(QColor(after.pixel(tabs.Bar()->ItemRect(0).left() + 4, tabs.Bar()->ItemRect(0).top() + 2)),
              QColor(229, 229, 229));
}


// The selected tab opens into its page: no frame line under it, its sides meet the pages' frame; the
// unselected tabs stand on that line.
TEST_F(TabControlTest, TheSelectedTabOpensIntoItsPage)
{
    ShowLikeTheMainWindow(640, 300);
    const QRgb frame = tabs.FrameColor().rgb();
    const QRgb white = qRgb(255, 255, 255);
    const int line = tabs.PaneRect().top();
    ASSERT_EQ(line, tabs.Bar()->geometry().top() + tabs.Bar()->PaneTopRow());

    for (int selected : {0, 1, 2}) {
        tabs.setCurrentIndex(selected);
        const QImage image = tabs.grab().toImage();
        const QRect open = tabs.Bar()->ItemRect(selected).translated(tabs.Bar()->pos());
        const QRect closed = tabs.Bar()->ItemRect(selected == 0 ? 1 : 0).translated(tabs.Bar()->pos());
        EXPECT_EQ(image.pixel(open.center().x(), line), white) << selected;      // open below the selection
        EXPECT_EQ(image.pixel(closed.center().x(), line), frame) << selected;    // closed below the others
        EXPECT_EQ(image.pixel(open.center().x(), open.top()), frame) << selected;
        // Both sides of the selected tab run down to the frame line and meet it.
        for (int y = open.top(); y <= line; ++y) {
            EXPECT_EQ(image.pixel(open.left(), y), frame) << selected << " y " << y;
            EXPECT_EQ(image.pixel(open.left() + open.width() - 1, y), frame) << selected << " y " << y;
        }
        EXPECT_EQ(image.pixel(open.left() + 1, line), white) << selected;
    }

    // With the first tab selected the pages' frame continues the tab's left side: one unbroken line
    // from the tab's top to the bottom of the pages.
    tabs.setCurrentIndex(0);
    const QImage image = tabs.grab().toImage();
    const QRect first = tabs.Bar()->ItemRect(0).translated(tabs.Bar()->pos());
    ASSERT_EQ(first.left(), tabs.PaneRect().left());
    for (int y = first.top(); y < tabs.height(); ++y)
        ASSERT_EQ(image.pixel(first.left(), y), frame) << "y " << y;
    for (int x = 0; x < tabs.width(); ++x)
        ASSERT_EQ(image.pixel(x, tabs.height() - 1), frame) << "x " << x;
}

TEST(TabControl, HasNoFirstItemWithoutItems)
{
    CEnTabCtrl tabs;
    EXPECT_TRUE(tabs.GetFirstItemRect().isEmpty());
}
