#include "tests/gui/gui_support.h"
#include "ui/CSCProgressDlg.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

TEST(ProgressBar, FillsTheBarUpToTheTruncatedPosition)
{
    CMacProgressCtrl bar;
    bar.resize(278, 14);
    bar.SetRange(0, 11);
    bar.SetPos(3);
    EXPECT_EQ(bar.BarEnd(), 75);
    bar.SetBarColor(QColor(65, 105, 225));
    const QImage image = bar.grab().toImage();
    EXPECT_EQ(image.pixel(74, 7), qRgb(65, 105, 225));
    EXPECT_EQ(image.pixel(75, 7), qRgb(255, 255, 255));  // SetBarColor whitens the track

    bar.SetRange(5, 5);
    EXPECT_EQ(bar.BarEnd(), 0);
    EXPECT_EQ(bar.grab().toImage().pixel(0, 7), qRgb(255, 255, 255));
}

TEST(ProgressBar, BarColourDerivesItsShades)
{
    CMacProgressCtrl bar;
    bar.SetBarColor(QColor(65, 105, 225));
    const auto& shades = bar.Shades();
    EXPECT_EQ(shades[0], QColor(116, 156, 255));
    EXPECT_EQ(shades[1], QColor(167, 207, 255));
    EXPECT_EQ(shades[2], QColor(218, 255, 255));
    EXPECT_EQ(shades[3], QColor(14, 54, 174));
    EXPECT_EQ(shades[4], QColor(0, 3, 123));
    bar.SetBarColorOnly(QColor(1, 2, 3));
    EXPECT_EQ(bar.TrackColor(), QColor(255, 255, 255));
}

TEST(ProgressBar, MarqueeTurnsAt390AndMinus114WithTheGreenEdgeLeading)
{
    CMacProgressCtrl bar;
    bar.resize(278, 14);
    const QColor green(64, 212, 32);
    bar.SetMarquee(true);
    bar.SetMarquee(true);  // a second start only restarts the block
    EXPECT_EQ(bar.MarqueePosition(), 0);
    std::vector<int> turns;
    bool forward = bar.MarqueeForward();
    for (int i = 0; i < 400 && turns.size() < 3; ++i) {
        bar.StepMarquee();
        if (bar.MarqueeForward() != forward) {
            forward = bar.MarqueeForward();
            turns.push_back(bar.MarqueePosition());
            EXPECT_EQ(forward ? bar.MarqueeColors().back() : bar.MarqueeColors().front(), green);
        }
    }
    EXPECT_EQ(turns, (std::vector<int>{390, -114, 390}));

    // Moving back the block spans position .. position + 120, green at its left edge.
    bar.SetMarquee(false);
    bar.SetMarquee(true);
    EXPECT_FALSE(bar.MarqueeForward());  // the direction survives a restart
    for (int i = 0; i < 5; ++i)
        bar.StepMarquee();
    EXPECT_EQ(bar.MarqueePosition(), -30);
    const QImage image = bar.grab().toImage();
    EXPECT_LT(QColor(image.pixel(0, 7)).red(), QColor(image.pixel(80, 7)).red());  // greener towards -30
    EXPECT_EQ(QColor(image.pixel(100, 7)), QColor(Qt::white));                     // the block ends at 90
}

TEST(ProgressWindow, LaysOutTheLabelAndTheBarInTheClientArea)
{
    QWidget owner;
    CSCProgressDlg dialog(&owner);
    ASSERT_TRUE(dialog.Create(&owner, QStringLiteral("시스템 정보 및 로그를 수집중입니다."), 0, 0, 320, 120));
    EXPECT_EQ(dialog.Client().size(), QSize(318, 118));
    EXPECT_EQ(dialog.Bar().geometry(), QRect(QPoint(20, 85), QPoint(297, 98)));   // (20, 85)-(298, 99)
    EXPECT_EQ(dialog.Label().geometry(), QRect(QPoint(20, 8), QPoint(297, 76)));  // (20, 8)-(298, 77)
    EXPECT_EQ(dialog.Bar().width(), 278);

    dialog.Label().SetTextColor(0xFF000000);
    dialog.SetColor(0xFFFFFFFF);
    EXPECT_EQ(dialog.Label().BackColor(), 0xFFFFFFFFu);
    dialog.Bar().SetBarColorOnly(QColor(65, 105, 225));
    EXPECT_EQ(dialog.Bar().TrackColor(), QGuiApplication::palette().color(QPalette::Mid));
    dialog.Bar().SetRange(0, 11);
    for (int i = 0; i < 3; ++i)
        dialog.StepIt();
    EXPECT_EQ(dialog.Bar().GetPos(), 3);
    EXPECT_EQ(dialog.Bar().BarEnd(), 75);
    const QImage image = dialog.grab().toImage();
    EXPECT_EQ(image.pixel(1 + 20 + 10, 1 + 85 + 7), qRgb(65, 105, 225));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(ProgressWindow, SetColourWithoutAColourKeepsTheLabelBackground)
{
    CSCProgressDlg dialog;
    dialog.Create(nullptr, QStringLiteral("x"), 0, 0, 320, 120);
    dialog.Label().SetBackColor(0xFF102030);
    dialog.SetColor(0x00FFFFFF);
    EXPECT_EQ(dialog.Label().BackColor(), 0xFF102030u);
}
