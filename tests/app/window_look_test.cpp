// How the main window looks and answers the keyboard once its check list has loaded: the run progress
// bar, the picture, the message box's font and the system menu.
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include "app/CTarvoCheckToolDlg.h"
#include "app/dialog_units.h"
#include "tests/app/app_support.h"
#include "tests/integration/lab_support.h"

namespace {

class WindowLookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lab.start(LabScenario("", ""))) << lab.error();
        UseLabWebServer(lab);
        window = std::make_unique<CTarvoCheckToolDlg>();
        answerer = std::make_unique<MessageAnswerer>(window->message_box(), CSCMessageBox::kOk);
        ASSERT_TRUE(window->OnInitDialog());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    ProductLab lab;
    std::unique_ptr<CTarvoCheckToolDlg> window;
    std::unique_ptr<MessageAnswerer> answerer;
};

// The template puts a bar 3 units high 2 units above the bottom of the dialog, reaching into the
// bottom border: the bar keeps its place, stays inside the frame, and the border stays whole.
TEST_F(WindowLookTest, TheRunProgressBarLiesInsideTheFrameAndTheBorderStaysWhole)
{
    CMacProgressCtrl& bar = window->progress();
    const QRect in_template = dialog_units_to_pixels(window->font(), 6, 294, 342, 3);
    ASSERT_GT(in_template.bottom(), window->InsideBorder().bottom());  // the fault this guards against
    EXPECT_EQ(bar.geometry(), in_template.intersected(window->InsideBorder()));
    EXPECT_GE(bar.height(), 3);

    bar.SetPos(bar.maximum());
    bar.show();
    const QImage image = window->grab().toImage();
    const QRgb border = window->GetColorTheme().color(CSCColorTheme::kBorder).rgb();
    const QRgb product = window->GetColorTheme().color(CSCColorTheme::kCaptionBack).rgb();
    for (int x = bar.geometry().left(); x <= bar.geometry().right(); x += 7) {
        EXPECT_EQ(image.pixel(x, window->height() - 1), border) << "x " << x;
        for (int y = bar.geometry().top(); y <= bar.geometry().bottom(); ++y)
            EXPECT_EQ(image.pixel(x, y), product) << "x " << x << " y " << y;
    }
}

// Shown in its label's proportions, the picture is not stretched; the message box speaks in the
// window's 10-point font.
TEST_F(WindowLookTest, ThePictureFitsItsLabelAndTheMessageBoxUsesTheWindowsFont)
{
    const CGdiplusBitmap& picture = window->picture().Image();
    const double label_ratio = static_cast<double>(window->picture().width()) / window->picture().height();
    const double picture_ratio = static_cast<double>(picture.width()) / picture.height();
    EXPECT_NEAR(label_ratio, picture_ratio, 0.02);

    EXPECT_EQ(window->font().pointSize(), 10);
    EXPECT_EQ(window->message_box().font(), window->font());
}

// Alt+Space opens the system menu below the caption icon, whichever control has the focus, and the
// menu works from the keyboard: it holds the caption buttons' commands and, after a separator, the
// about box.
TEST_F(WindowLookTest, AltSpaceOpensTheSystemMenu)
{
    window->move(40, 40);  // the whole menu on the screen, where it is not moved to fit
    window->start_button().setFocus();
    QWidget* focused = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window.get();
    QStringList items;
    QPoint where;
    bool about_opened = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const QAction* action : menu->actions())
            items << action->text();
        where = menu->pos();
        QTimer::singleShot(0, [&] {
            QWidget* about = QApplication::activeModalWidget();
            about_opened = about != nullptr && about != window.get();
            if (about_opened)
                about->close();
        });
        QTest::keyClick(menu, Qt::Key_A);
    });
    QTest::keyClick(focused, Qt::Key_Space, Qt::AltModifier);
    EXPECT_EQ(items, QStringList({"최소화(&N)", "닫기(&C)", "", "TarvoCheckTool 정보(&A)..."}));
    EXPECT_EQ(where, window->mapToGlobal(QPoint(window->InsideBorder().left(), window->GetCaptionHeight())));
    EXPECT_TRUE(about_opened);
    EXPECT_FALSE(window->run().running());  // the space did not reach the focused start button
}

}  // namespace
