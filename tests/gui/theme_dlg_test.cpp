#include "tests/gui/gui_support.h"
#include "ui/CSCSystemButtons.h"
#include "ui/CSCThemeDlg.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::NoButton,
               Qt::MouseButtons buttons = Qt::NoButton)
{
    const QPointF global = widget->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class ThemeDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        dlg.resize(600, 400);
        dlg.show();
    }

    CSCThemeDlg dlg;
};

TEST_F(ThemeDlgTest, ProductStylesColourTheCaptionAndNameTheWindow)
{
    struct Expectation {
        int style;
        QRgb caption;
        const char* title;
    };
    const Expectation expectations[] = {
        {6, qRgb(0x61, 0x84, 0xB4), "Quenmora"}, {7, qRgb(0xBA, 0x59, 0x12), "Quenmora 3.0 SE"},
        {8, qRgb(0x3B, 0x45, 0x5B), "Selvanta"}, {9, qRgb(0x20, 0xB2, 0xAE), "Dravi"},
        {10, qRgb(0xD6, 0x81, 0x08), "Nostrel"},
    };
    for (const Expectation& e : expectations) {
        dlg.SetThemeStyle(e.style);
        EXPECT_EQ(PixelAt(dlg, 300, 3), e.caption) << e.style;
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(e.title));
        EXPECT_EQ(PixelAt(dlg, 300, 200), qRgb(255, 255, 255));  // the client area stays white
        EXPECT_EQ(PixelAt(dlg, 0, 200), qRgb(0xA9, 0xA9, 0xA9));  // border, slot 13
        CSCSystemButtons* buttons = dlg.GetSystemButtons();
        EXPECT_EQ(buttons->GetButtonHeight(), 29);
        EXPECT_EQ(buttons->GetColorTheme().slot(CSCColorTheme::kText),
                  dlg.GetColorTheme().slot(CSCColorTheme::kCaptionText));
    }

    // Other styles change the colours only.
    dlg.GetSystemButtons()->SetButtonHeight(32);
    dlg.SetThemeStyle(11);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Nostrel"));
    EXPECT_EQ(dlg.GetSystemButtons()->GetButtonHeight(), 32);
    EXPECT_EQ(PixelAt(dlg, 300, 3), qRgb(0xD3, 0xD3, 0xD3));
}

TEST_F(ThemeDlgTest, CloseButtonTurnsRedWhileHotAndOthersUseTheHoverSlot)
{
    CSCSystemButtons* buttons = dlg.GetSystemButtons();
    buttons->RemoveAllButtons();
    buttons->AddButton(kCommandMinimize);
    buttons->AddButton(kCommandClose);
    dlg.SetThemeStyle(6);
    ASSERT_EQ(buttons->geometry(), QRect(600 - 2 - 88, 1, 88, 29));

    const QRect close = buttons->GetButtonRect(1);
    SendMouse(buttons, QEvent::MouseMove, close.center());
    EXPECT_EQ(buttons->GetHotButton(), 1);
    EXPECT_EQ(PixelAt(*buttons, close.left() + 2, close.top() + 2), qRgb(232, 17, 35));

    const QRect minimize = buttons->GetButtonRect(0);
    SendMouse(buttons, QEvent::MouseMove, minimize.center());
    EXPECT_EQ(PixelAt(*buttons, minimize.left() + 2, minimize.top() + 2), qRgb(0x71, 0x94, 0xC4));  // slot 16
    EXPECT_EQ(PixelAt(*buttons, close.left() + 2, close.top() + 2), qRgb(0x61, 0x84, 0xB4));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(buttons, &leave);
    EXPECT_EQ(buttons->GetHotButton(), -1);
}

TEST_F(ThemeDlgTest, CloseButtonClosesTheWindowAndHelpIsReported)
{
    CSCSystemButtons* buttons = dlg.GetSystemButtons();
    buttons->AddButton(CSCSystemButtons::kCommandHelp);
    QSignalSpy commands(&dlg, &CSCThemeDlg::SystemCommand);
    const QPoint help = buttons->GetButtonRect(1).center();
    QTest::mouseClick(buttons, Qt::LeftButton, Qt::NoModifier, help);
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), CSCSystemButtons::kCommandHelp);

    QTest::mouseClick(buttons, Qt::LeftButton, Qt::NoModifier, buttons->GetButtonRect(0).center());
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(ThemeDlgTest, WithoutCaptionNothingIsDrawnThereAndNoButtonsExist)
{
    dlg.SetCaptionHeight(0);
    EXPECT_EQ(dlg.GetSystemButtons()->GetButtonCount(), 0);
    EXPECT_FALSE(dlg.GetSystemButtons()->isVisible());
    EXPECT_EQ(PixelAt(dlg, 300, 10), qRgb(255, 255, 255));
}

TEST_F(ThemeDlgTest, WithoutPassThroughOnlyTheCaptionMovesTheWindow)
{
    dlg.SetPassThrough(false);
    dlg.SetResizable(false);
    EXPECT_EQ(dlg.HitTest({300, 40}), CSCThemeDlg::kHitTransparent);
    EXPECT_EQ(dlg.HitTest({300, 3}), CSCThemeDlg::kHitTransparent);
    EXPECT_EQ(dlg.HitTest({300, 20}), CSCThemeDlg::kHitClient);

    const QPoint start = dlg.pos();
    SendMouse(&dlg, QEvent::MouseButtonPress, {300, 40}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(&dlg, QEvent::MouseMove, {330, 80}, Qt::NoButton, Qt::LeftButton);
    SendMouse(&dlg, QEvent::MouseButtonRelease, {330, 80}, Qt::LeftButton);
    EXPECT_EQ(dlg.pos(), start);

    SendMouse(&dlg, QEvent::MouseButtonPress, {300, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(&dlg, QEvent::MouseMove, {330, 60}, Qt::NoButton, Qt::LeftButton);
    SendMouse(&dlg, QEvent::MouseButtonRelease, {330, 60}, Qt::LeftButton);
    EXPECT_EQ(dlg.pos(), start + QPoint(30, 40));
}

TEST_F(ThemeDlgTest, ResizableWindowsHaveSizingBandsAndCorners)
{
    dlg.SetResizable(true);
    EXPECT_EQ(dlg.HitTest({2, 200}), CSCThemeDlg::kHitLeft);
    EXPECT_EQ(dlg.HitTest({597, 200}), CSCThemeDlg::kHitRight);
    EXPECT_EQ(dlg.HitTest({300, 2}), CSCThemeDlg::kHitTop);
    EXPECT_EQ(dlg.HitTest({300, 398}), CSCThemeDlg::kHitBottom);
    EXPECT_EQ(dlg.HitTest({1, 1}), CSCThemeDlg::kHitTopLeft);
    EXPECT_EQ(dlg.HitTest({599, 399}), CSCThemeDlg::kHitBottomRight);
    EXPECT_EQ(dlg.HitTest({300, 200}), CSCThemeDlg::kHitClient);

    dlg.setFixedSize(600, 400);
    dlg.SetResizable(false);
    EXPECT_FALSE(dlg.IsResizable());
    EXPECT_EQ(dlg.HitTest({2, 200}), CSCThemeDlg::kHitClient);
}

TEST_F(ThemeDlgTest, MaximisedWindowFillsTheWorkAreaAndDoubleClickRestores)
{
    dlg.GetSystemButtons()->AddButton(kCommandMaximize);
    QTest::mouseDClick(&dlg, Qt::LeftButton, Qt::NoModifier, {200, 15});
    EXPECT_TRUE(dlg.isMaximized());
    QApplication::processEvents();  // the window system's new geometry arrives as an event
    EXPECT_EQ(dlg.geometry(), dlg.MaximizedGeometry());
    QTest::mouseDClick(&dlg, Qt::LeftButton, Qt::NoModifier, {200, 15});
    EXPECT_FALSE(dlg.isMaximized());

    QTest::mouseDClick(&dlg, Qt::LeftButton, Qt::NoModifier, {10, 15});  // the icon closes
    EXPECT_FALSE(dlg.isVisible());
}

}  // namespace
