#include "tests/gui/gui_support.h"
#include "ui/CSCStatic.h"

#include <QFontMetrics>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

TEST(Label, SetTextWithoutAColourKeepsTheColour)
{
    CSCStatic label;
    label.SetText(QStringLiteral("진단 리스트"), 0xFF112233);
    label.SetText(QStringLiteral("다음"), 0x00FFFFFF);
    EXPECT_EQ(label.GetText(), QStringLiteral("다음"));
    EXPECT_EQ(label.TextColor(), 0xFF112233u);
}

TEST(Label, ParentColourFlagShowsOnlyTheParentColourBehindTheText)
{
    CSCStatic label;
    label.resize(120, 30);
    label.SetBackColor(0xFF0000FF);
    label.SetParentColor(0xFF00FF00);
    EXPECT_EQ(PixelAt(label, 60, 15), qRgb(0, 255, 0));
    label.SetBackColor(0xFF0000FF);  // square labels drop the parent colour on a new back colour
    EXPECT_FALSE(label.UsesParentColor());
    EXPECT_EQ(PixelAt(label, 60, 15), qRgb(0, 0, 255));
}

TEST(Label, RoundedLabelShowsTheParentColourInItsCorners)
{
    CSCStatic label;
    label.resize(100, 40);
    label.SetParentColor(0xFFFF0000, false);
    label.SetCornerRadius(10);
    label.SetBackColor(0xFF00FF00);
    const QImage image = label.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(50, 20), qRgb(0, 255, 0));
}

TEST(Label, IconFirstSitsEightPixelsInWithTheTextCentred)
{
    CSCStatic label;
    label.resize(300, 100);
    label.SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QPixmap icon(32, 32);
    icon.fill(Qt::red);
    label.SetIcon(icon, 32, 32, true);
    label.SetText(QStringLiteral("저장하시겠습니까?\n두 번째 줄"));
    EXPECT_EQ(label.IconRect(), QRect(8, 34, 32, 32));
    const QSize text = QFontMetrics(label.font()).size(0, label.GetText());
    const QRect text_rect = label.TextRect();
    EXPECT_EQ(text_rect.left(), 150 - text.width() / 2);
    EXPECT_EQ(text_rect.top(), (100 - text.height()) / 2);
    EXPECT_EQ(PixelAt(label, 20, 50), qRgb(255, 0, 0));
}

TEST(Label, IconBeforeCentredTextAndLeftText)
{
    CSCStatic label;
    label.resize(200, 40);
    QPixmap icon(16, 16);
    icon.fill(Qt::blue);
    label.SetText(QStringLiteral("abc"));
    const int tw = QFontMetrics(label.font()).size(0, QStringLiteral("abc")).width();
    label.SetIcon(icon, 16, 16);
    EXPECT_EQ(label.IconRect().left(), 2);
    EXPECT_EQ(label.TextRect().left(), 22);
    label.SetAlignment(Qt::AlignHCenter);
    const int x = (200 - 16 - tw - 4) / 2;
    EXPECT_EQ(label.IconRect().left(), x);
    EXPECT_EQ(label.TextRect().left(), x + 20);
}

TEST(Label, HostsTheWindowPictureAndStopsItsAnimation)
{
    QWidget window;
    auto* label = new CSCStatic(&window);
    label->setGeometry(0, 0, 200, 150);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(label->SetImage(QStringLiteral("GIF"), 167, 0xFFFFFFFF));
    EXPECT_TRUE(label->Image().IsAnimated());
    EXPECT_TRUE(label->Image().is_running());
    EXPECT_EQ(label->Image().target_rect(), QRect(0, 0, 192, 113));
    label->FitImageToWindow();
    EXPECT_EQ(label->Image().target_rect(), QRect(0, 0, 200, 150));
    label->resize(300, 200);
    EXPECT_EQ(label->Image().target_rect(), QRect(0, 0, 300, 200));
    label->StopImageAnimation();
    EXPECT_FALSE(label->Image().is_running());
    EXPECT_FALSE(label->SetImage(QStringLiteral("GIF"), 999, 0xFFFFFFFF));
    EXPECT_FALSE(label->Image().IsValid());
}

TEST(Label, FontSizeAndBoldRebuildTheFont)
{
    CSCStatic label;
    label.SetFontSize();
    EXPECT_EQ(label.font().pixelSize(), (13 * label.logicalDpiY() + 36) / 72);
    label.SetBold();
    EXPECT_EQ(label.font().weight(), QFont::Bold);
}
