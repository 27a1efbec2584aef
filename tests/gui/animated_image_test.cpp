#include "tests/gui/manual_clock.h"
#include "ui/CGdiplusBitmap.h"
#include "ui/draw_helpers.h"

#include <QApplication>
#include <QBuffer>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

QByteArray PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The animation thread's first wait of a new state, with its frames delivered to the window.
std::int64_t SettledWait(ManualClock& clock)
{
    const std::int64_t wait = clock.NextWait();
    QApplication::processEvents();
    return wait;
}

// The window's picture in a 200 x 150 window, paced by a clock the test moves.
struct PacedPicture {
    QWidget window;
    CGdiplusBitmap picture;
    ManualClock* time;
    QSignalSpy drawn{&picture, &CGdiplusBitmap::frameDrawn};
    bool loaded;

    PacedPicture() : loaded(picture.LoadFromResource(QStringLiteral("GIF"), 167))
    {
        window.resize(200, 150);
        auto clock = std::make_unique<ManualClock>();
        time = clock.get();
        picture.SetClock(std::move(clock));
    }
    std::tuple<QWidget&, CGdiplusBitmap&, ManualClock&, QSignalSpy&> parts()
    {
        return {window, picture, *time, drawn};
    }
};

}  // namespace

TEST(AspectFit, CentresThePictureInTheRectangle)
{
    EXPECT_EQ(AspectFitRect(800, 600, QRect(0, 0, 100, 100)), QRect(0, 12, 100, 75));
    EXPECT_EQ(AspectFitRect(600, 800, QRect(10, 10, 100, 100)), QRect(22, 10, 75, 100));
    EXPECT_EQ(AspectFitRect(800, 600, QRect(0, 0, 400, 300)), QRect(0, 0, 400, 300));
    EXPECT_TRUE(AspectFitRect(800, 600, QRect(0, 0, 0, 50)).isEmpty());
}

TEST(AnimatedImage, LoadsTheWindowPictureWithItsFramesAndDelays)
{
    CGdiplusBitmap picture;
    ASSERT_TRUE(picture.LoadFromResource(QStringLiteral("GIF"), 167));
    EXPECT_EQ(picture.name(), QStringLiteral("resource_image.gif"));
    EXPECT_EQ(picture.width(), 192);
    EXPECT_EQ(picture.height(), 113);
    EXPECT_TRUE(picture.IsAnimated());
    ASSERT_EQ(picture.frame_count(), 180);
    ASSERT_EQ(picture.frame_delays().size(), 180u);
    EXPECT_EQ(picture.frame_delays()[0], 3);
    EXPECT_EQ(picture.frame_delays()[1], 6);

    EXPECT_FALSE(picture.LoadFromResource(QStringLiteral("GIF"), 0));
    EXPECT_FALSE(picture.IsValid());
    EXPECT_FALSE(picture.LoadFromResource(QStringLiteral("PNG"), 4242));
    EXPECT_FALSE(picture.IsValid());
    EXPECT_EQ(picture.width(), 0);
    EXPECT_FALSE(picture.LoadFromData(QByteArray("GIF89a broken"), QStringLiteral("x")));
    picture.Play();
    picture.Stop();
    EXPECT_FALSE(picture.is_running());
}


// The window's picture is made in its label's proportions (192 x 113 pixels), so it is shown
// unstretched: the disc behind the check mark is as wide as it is high.
TEST(AnimatedImage, TheWindowPictureHasItsLabelsProportionsAndARoundDisc)
{
    CGdiplusBitmap picture;
    ASSERT_TRUE(picture.LoadFromResource(QStringLiteral("GIF"), 167));
    ASSERT_EQ(QSize(picture.width(), picture.height()), QSize(192, 113));
    const QImage frame = picture.image().convertToFormat(QImage::Format_RGB32);
    QRect disc;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width() / 3; ++x) {  // the PC's screen; the packets run further right
            if (frame.pixel(x, y) == qRgb(0x41, 0x69, 0xE1))
                disc |= QRect(x, y, 1, 1);
        }
    }
    ASSERT_GE(disc.width(), 12);
    EXPECT_LE(std::abs(disc.width() - disc.height()), 1) << disc.width() << " x " << disc.height();
}

TEST(AnimatedImage, StillPictureTakesTheBackgroundAndResizesToTheAspect)
{
    QImage source(100, 40, QImage::Format_ARGB32);
    source.fill(Qt::transparent);
    source.setPixel(0, 0, qRgba(255, 0, 0, 255));
    CGdiplusBitmap picture;
    ASSERT_TRUE(picture.LoadFromData(PngBytes(source), QStringLiteral("still")));
    EXPECT_FALSE(picture.IsAnimated());
    picture.SetBackground(0xFFFFFFFF);
    EXPECT_EQ(picture.image().pixel(50, 20), qRgba(255, 255, 255, 255));
    EXPECT_EQ(picture.image().pixel(0, 0), qRgba(255, 0, 0, 255));
    picture.Resize(50, 0);
    EXPECT_EQ(picture.width(), 50);
    EXPECT_EQ(picture.height(), 20);
    picture.Resize(0, 0);
    EXPECT_EQ(picture.width(), 50);
}

TEST(AnimatedImage, StartAnimationFitsTheTargetAndWaitsPaused)
{
    QWidget window;
    window.resize(800, 600);
    CGdiplusBitmap picture;
    ASSERT_TRUE(picture.LoadFromResource(QStringLiteral("GIF"), 167));
    picture.StartAnimation(&window);
    EXPECT_EQ(picture.target_rect(), QRect(0, 0, 192, 113));
    EXPECT_TRUE(picture.is_running());
    EXPECT_TRUE(picture.is_paused());
    picture.Release();
    EXPECT_FALSE(picture.is_running());
    EXPECT_FALSE(picture.IsValid());

    ASSERT_TRUE(picture.LoadFromResource(QStringLiteral("gif"), 167));
    picture.StartAnimation(&window, 0, 0, 100, 100);
    EXPECT_EQ(picture.target_rect(), QRect(0, 21, 100, 58));  // 100 / (192 / 113) = 58.85
    EXPECT_TRUE(picture.is_paused());
}

TEST(AnimatedImage, FramesArePacedByTheDelayOfTheFrameAboutToBeShown)
{
    PacedPicture paced;
    ASSERT_TRUE(paced.loaded);
    auto [window, picture, time, drawn] = paced.parts();

    picture.StartAnimation(&window, 0, 0, 200, 150);
    EXPECT_EQ(SettledWait(time), 500);  // paused on frame 0, no notification
    EXPECT_EQ(drawn.count(), 0);

    picture.Play();
    EXPECT_EQ(SettledWait(time), 60);  // frame 1 carries 6 hundredths
    ASSERT_EQ(drawn.count(), 1);
    EXPECT_EQ(drawn.at(0).at(0).toInt(), 0);
    EXPECT_EQ(drawn.at(0).at(1).toInt(), 180);
    EXPECT_EQ(picture.current_frame(), 1);

    picture.Play();  // already playing: nothing changes
    time.Advance(60);
    EXPECT_EQ(SettledWait(time), 30);
    ASSERT_EQ(drawn.count(), 2);
    EXPECT_EQ(drawn.at(1).at(0).toInt(), 1);

    picture.Stop();
    EXPECT_EQ(picture.current_frame(), 0);
    time.Advance(30);
    EXPECT_EQ(SettledWait(time), 500);
    EXPECT_EQ(drawn.count(), 2);

    picture.Play();  // from frame 0 again
    EXPECT_EQ(SettledWait(time), 60);
    ASSERT_EQ(drawn.count(), 3);
    EXPECT_EQ(drawn.at(2).at(0).toInt(), 0);

    picture.Release();  // joins the waiting thread
    EXPECT_FALSE(picture.is_running());
}

TEST(AnimatedImage, ReleaseWhilePlayingEndsTheThreadBeforeTheFramesGo)
{
    QWidget window;
    window.resize(160, 120);
    for (int round = 0; round < 3; ++round) {
        CGdiplusBitmap picture;
        ASSERT_TRUE(picture.LoadFromResource(QStringLiteral("GIF"), 167));
        QSignalSpy drawn(&picture, &CGdiplusBitmap::frameDrawn);
        picture.StartAnimation(&window, 0, 0, 160, 120);
        picture.Play();
        ASSERT_TRUE(drawn.wait(5000));
        picture.Release();
        QApplication::processEvents();  // frames still queued for the released picture are ignored
        EXPECT_FALSE(picture.IsValid());
    }
}

// The window ends the thread when a close is cancelled during a run; the next run's Play must
// animate, not start a thread that waits paused for good.
TEST(AnimatedImage, PlayAfterTheThreadWasEndedAnimatesAgain)
{
    PacedPicture paced;
    ASSERT_TRUE(paced.loaded);
    auto [window, picture, time, drawn] = paced.parts();

    picture.StartAnimation(&window, 0, 0, 200, 150);
    EXPECT_EQ(SettledWait(time), 500);
    picture.Play();
    EXPECT_EQ(SettledWait(time), 60);
    picture.Stop();
    picture.StopAnimationThread();
    EXPECT_FALSE(picture.is_running());
    const int frames_before = drawn.count();

    picture.Stop();  // what a new run does first
    picture.Play();
    EXPECT_TRUE(picture.is_running());
    EXPECT_FALSE(picture.is_paused());
    EXPECT_EQ(SettledWait(time), 60) << "frame 1 is on its way, not a paused wait";
    EXPECT_EQ(drawn.count(), frames_before + 1);
    time.Advance(60);
    EXPECT_EQ(SettledWait(time), 30);
    EXPECT_EQ(picture.current_frame(), 2);

    // Starting the animation afresh still waits paused on the first frame.
    picture.StopAnimationThread();
    picture.StartAnimation(&window, 0, 0, 200, 150);
    EXPECT_TRUE(picture.is_paused());
    EXPECT_EQ(SettledWait(time), 500);
    picture.Release();
}
