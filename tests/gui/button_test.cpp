#include "tests/gui/gui_support.h"
#include "ui/CGdiButton.h"
#include "ui/draw_helpers.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The colour the button paints at a spot away from its text and edges.
QRgb BodyPixel(CGdiButton& button)
{
    return PixelAt(button, button.width() / 2, button.height() / 2);
}

}  // namespace

TEST(Button, BackColourGivesTheFourStateShades)
{
    CGdiButton button;
    button.SetBackColor(0xFF4169E1);
    EXPECT_EQ(button.BackColors(), (std::vector<ARGB>{0xFF4169E1, 0xFF5179F1, 0xFF3159D1, 0xFF6B6B6B}));
    button.SetTextColor(0x00FFFFFF);
    EXPECT_EQ(button.TextColors(), (std::vector<ARGB>{0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF}));
}

TEST(Button, PaintsTheStateColourDrivenByTheMouse)
{
    QWidget parent;
    parent.resize(200, 100);
    auto* button = new CGdiButton(&parent);
    button->setGeometry(20, 20, 84, 28);
    button->SetBackColor(0xFF4169E1);
    button->Set3dEdge(false);
    button->SetHoverTracking(true);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QSignalSpy hover(button, &CGdiButton::hoverStarted);
    QSignalSpy left(button, &CGdiButton::hoverEnded);
    QSignalSpy pressed(button, &CGdiButton::leftPressed);
    QSignalSpy released(button, &CGdiButton::leftReleased);
    QSignalSpy clicked(button, &CGdiButton::clicked);

    EXPECT_EQ(BodyPixel(*button), qRgb(0x41, 0x69, 0xE1));

    QTest::mouseMove(button, QPoint(10, 10));
    EXPECT_EQ(button->CurrentState(), CGdiButton::kHover);
    EXPECT_EQ(hover.count(), 1);
    EXPECT_EQ(BodyPixel(*button), qRgb(0x51, 0x79, 0xF1));

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(BodyPixel(*button), qRgb(0x31, 0x59, 0xD1));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(released.count(), 1);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(BodyPixel(*button), qRgb(0x51, 0x79, 0xF1));

    QTest::mouseMove(&parent, QPoint(150, 80));
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(BodyPixel(*button), qRgb(0x41, 0x69, 0xE1));

    button->setEnabled(false);
    EXPECT_EQ(BodyPixel(*button), qRgb(0x6B, 0x6B, 0x6B));
}

TEST(Button, ReleaseOutsideTheButtonIsNotAClick)
{
    QWidget parent;
    parent.resize(200, 100);
    auto* button = new CGdiButton(QStringLiteral("확인"), &parent);
    button->setGeometry(0, 0, 84, 28);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QSignalSpy released(button, &CGdiButton::leftReleased);
    QSignalSpy clicked(button, &CGdiButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_EQ(released.count(), 0);
    EXPECT_EQ(clicked.count(), 0);
}

TEST(Button, SquareButtonsGetARaisedEdgeAndRoundedOnesNone)
{
    CGdiButton button;
    button.resize(84, 28);
    button.SetBackColor(0xFF808080);
    QImage image = button.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(83, 27), qRgb(128, 128, 128));
    button.setDown(true);
    image = button.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(160, 160, 160));
    EXPECT_EQ(image.pixel(83, 27), qRgb(255, 255, 255));
    button.setDown(false);

    button.SetCornerRadius(12);
    button.SetTransparent(0xFFFF0000);
    image = button.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));  // outside the rounded corner: the parent colour
    EXPECT_EQ(image.pixel(42, 1), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(42, 26), qRgb(128, 128, 128));
}

TEST(Button, TransparentWithoutAColourKeepsTheParentColour)
{
    CGdiButton button;
    button.SetTransparent(0xFF00FF00);
    button.SetTransparent(0x00FFFFFF);
    EXPECT_TRUE(button.IsTransparent());
    EXPECT_EQ(button.ParentColor(), 0xFF00FF00u);
    button.SetBackColor(0xFF123456);  // square buttons stop being transparent
    EXPECT_FALSE(button.IsTransparent());
}

TEST(RoundedShapes, CornersAreLimitedToHalfTheSmallerSide)
{
    // Corner radius 8 on 84 x 28: fill corners in 8 x 8 boxes, border corners in 14 x 14 boxes.
    const QRectF fill = RoundedFillShape(QRect(0, 0, 84, 28), 8).boundingRect();
    EXPECT_DOUBLE_EQ(fill.left(), 0.5);
    EXPECT_DOUBLE_EQ(fill.right(), 83.5);
    const QPainterPath fill_path = RoundedFillShape(QRect(0, 0, 84, 28), 8);
    EXPECT_TRUE(fill_path.contains(QPointF(4.5 + 0.5, 0.6)));   // top of the first 8 x 8 arc
    EXPECT_FALSE(fill_path.contains(QPointF(1.0, 1.0)));
    const QPainterPath outline = RoundedOutlineShape(QRect(0, 0, 84, 28), 8);
    EXPECT_FALSE(outline.contains(QPointF(2.0, 2.0)));         // cut off by the 14 x 14 corner
    EXPECT_TRUE(fill_path.contains(QPointF(2.0, 2.0)));        // but inside the 8 x 8 fill corner
    EXPECT_TRUE(outline.contains(QPointF(7.5, 0.7)));          // the 14 x 14 arc meets the top at 7.5
    EXPECT_FALSE(outline.contains(QPointF(5.0, 0.7)));
}

TEST(Button, SpaceKeyNotifiesPressAndRelease)
{
    CGdiButton button(QStringLiteral("확인"));
    button.resize(84, 28);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QSignalSpy pressed(&button, &CGdiButton::leftPressed);
    QSignalSpy released(&button, &CGdiButton::leftReleased);
    QSignalSpy clicked(&button, &CGdiButton::clicked);
    QTest::keyPress(&button, Qt::Key_Space);
    EXPECT_EQ(button.CurrentState(), CGdiButton::kPressed);
    ASSERT_TRUE(pressed.wait(5000));
    QTest::keyRelease(&button, Qt::Key_Space);
    ASSERT_TRUE(released.wait(5000));
    EXPECT_EQ(clicked.count(), 1);
}
