#include "ui/CGdiplusBitmap.h"
#include "ui/draw_helpers.h"
#include "ui/gif_frame_delays.h"
#include "ui/wait_pumping.h"

#include <QFile>
#include <QPainter>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QByteArray WindowAnimation()
{
    QFile file(QStringLiteral(":/gif/167"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(WaitPumping, DispatchesEventsWhileItWaits)
{
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    wait_pumping(20);
    EXPECT_TRUE(fired);
}

TEST(FontHeight, IsTheNegativePixelHeightOfThePointSize)
{
    QWidget widget;
    const int dpi = widget.logicalDpiY();
    EXPECT_EQ(font_height(&widget, 9), -((9 * dpi + 36) / 72));
    EXPECT_EQ(font_height(nullptr, 13), -17);  // 13 pt at 96 dpi
}

TEST(HorizontalGradient, RunsThroughTheColoursInEqualParts)
{
    QImage image(200, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    FillHorizontalGradient(painter, QRect(0, 0, 200, 4), {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)});
    painter.end();
    EXPECT_GT(QColor(image.pixel(0, 1)).red(), 250);
    EXPECT_GT(QColor(image.pixel(100, 1)).green(), 240);
    EXPECT_GT(QColor(image.pixel(199, 1)).blue(), 240);
}

TEST(GifFrameDelays, ReadsEveryFrameAndRejectsDamage)
{
    const QByteArray gif = WindowAnimation();
    ASSERT_FALSE(gif.isEmpty());
    const auto delays = ReadGifFrameDelays(gif);
    ASSERT_TRUE(delays.has_value());
    ASSERT_EQ(delays->size(), 180u);
    EXPECT_EQ((*delays)[178], 3);
    EXPECT_EQ((*delays)[179], 6);

    EXPECT_FALSE(ReadGifFrameDelays(QByteArray("GIF89a")).has_value());
    EXPECT_FALSE(ReadGifFrameDelays(QByteArray("PNG")).has_value());
    // Cut inside the first image: nothing complete to report.
    EXPECT_FALSE(ReadGifFrameDelays(gif.left(200)).has_value());
    // Cut later: the complete images are still known.
    const auto partial = ReadGifFrameDelays(gif.left(gif.size() / 2));
    ASSERT_TRUE(partial.has_value());
    EXPECT_GT(partial->size(), 1u);
    EXPECT_LT(partial->size(), 180u);
}

TEST(AnimatedImage, ATruncatedPictureLoadsWhatItCanWithoutFailing)
{
    const QByteArray gif = WindowAnimation();
    CGdiplusBitmap picture;
    if (picture.LoadFromData(gif.left(gif.size() / 2), QStringLiteral("cut"))) {
        EXPECT_EQ(picture.frame_delays().size(), static_cast<std::size_t>(picture.frame_count()));
        for (int delay : picture.frame_delays())
            EXPECT_GT(delay, 0);
    }
}

TEST(AnimationSurface, FillsACheckerboardWithoutABackgroundAndFlipsFrames)
{
    AnimationSurface surface(nullptr);
    surface.resize(64, 64);
    QImage frame(64, 64, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    surface.SetFrame(frame, kArgbNone, true, false);
    QImage image = surface.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(16, 0), qRgb(200, 200, 200));
    EXPECT_EQ(image.pixel(0, 16), qRgb(200, 200, 200));
    EXPECT_EQ(image.pixel(16, 16), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(32, 0), qRgb(255, 255, 255));

    surface.SetFrame(frame, 0xFF00FF00, true, false);
    EXPECT_EQ(surface.grab().toImage().pixel(16, 0), qRgb(0, 255, 0));

    QImage halves(64, 64, QImage::Format_ARGB32);
    halves.fill(Qt::red);
    QPainter painter(&halves);
    painter.fillRect(0, 32, 64, 32, Qt::blue);
    painter.end();
    surface.SetFrame(halves, 0xFFFFFFFF, true, true);
    image = surface.grab().toImage();
    EXPECT_EQ(image.pixel(10, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(10, 60), qRgb(255, 0, 0));
}
