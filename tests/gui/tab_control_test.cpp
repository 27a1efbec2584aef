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
};

}  // namespace

TEST_F(TabControlTest, LookFlags31OnWhiteGiveGreyTabsAndAWhiteSelection)
{
    CEnTabCtrl tabs;
    tabs.SetBkgndColor(QColor(255, 255, 255));
    EXPECT_EQ(tabs.TabColor(false), QColor(229, 229, 229));
    EXPECT_EQ(tabs.TabTextColor(false), QColor(127, 127, 127));
    EXPECT_EQ(tabs.TabColor(true), QColor(255, 255, 255));
    EXPECT_EQ(tabs.TabTextColor(true), QGuiApplication::palette().color(QPalette::WindowText));
}

TEST_F(TabControlTest, ColourRulesFollowTheLookBits)
{
    CEnTabCtrl tabs;
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
    CEnTabCtrl tabs;
    tabs.SetBkgndColor(QColor(255, 255, 255));
    tabs.SetItemSize(QSize(500, 24));
    tabs.SetMinTabWidth(100);
    for (const char* title : {"진단 로그", "진단 결과", "에러 코드"})
        tabs.addTab(new QLabel, QString::fromUtf8(title));
    tabs.resize(1600, 200);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
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

TEST(TabControl, HasNoFirstItemWithoutItems)
{
    CEnTabCtrl tabs;
    EXPECT_TRUE(tabs.GetFirstItemRect().isEmpty());
}
