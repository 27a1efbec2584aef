#include "ui/CSCStepCtrl.h"
#include "ui/text_contrast.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {

constexpr ARGB kProduct = 0xFF6184B4;
constexpr ARGB kFireBrick = 0xFFB22222;

// The main window's configuration: vertical, margins 0 2 0 2, white, product colour overrides.
void ConfigureLikeTheMainWindow(CSCStepCtrl& steps, int count, ARGB product = kProduct)
{
    steps.SetHorizontal(false);
    steps.SetMargins(0, 2, 0, 2);
    steps.SetBackColor(0xFFFFFFFF);
    steps.SetCurrentStep(-1);
    steps.SetStepCount(count);
    steps.SetStepFillColor(-1, product);
    steps.SetStepTextColor(product);
    for (int j = 0; j < count; ++j)
        steps.SetStepText(j, QStringLiteral("그룹%1 체크").arg(j));
}

QRgb At(const QImage& image, const QRect& box, int dx, int dy)
{
    return image.pixel(box.left() + dx, box.top() + dy);
}

// The darkest pixel of an area: where anti-aliased drawing covers a pixel fully, its own colour.
QRgb DarkestIn(const QImage& image, const QRect& area)
{
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < qGray(darkest))
                darkest = image.pixel(x, y);
        }
    }
    return darkest;
}

}  // namespace

TEST(StepList, EightStepsIn150PixelsTouchWithAGapOfZero)
{
    CSCStepCtrl steps;
    ConfigureLikeTheMainWindow(steps, 8);
    steps.resize(200, 150);
    EXPECT_EQ(steps.Gap(), 0);
    steps.grab();
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(steps.StepBox(c), QRect(0, 2 + 18 * c, 18, 18)) << c;

    steps.resize(200, 300);  // 300 - 144 - 4 = 152 over 7 gaps
    EXPECT_EQ(steps.Gap(), 21);
    steps.grab();
    EXPECT_EQ(steps.StepBox(7), QRect(0, 2 + 7 * 39, 18, 18));
}

TEST(StepList, SingleStepsAndOverfullListsUseNoGap)
{
    CSCStepCtrl steps;
    steps.resize(100, 60);
    steps.SetStepCount(1);
    EXPECT_EQ(steps.Gap(), 0);
    steps.SetStepCount(6);  // 6 x 18 does not fit into 60 - 16
    EXPECT_EQ(steps.Gap(), 0);
    steps.grab();
    EXPECT_EQ(steps.StepBox(5), QRect(8 + 5 * 18, 8, 18, 18));
}

TEST(StepList, StatesDrawDiscsRingsAndTheCurrentDot)
{
    CSCStepCtrl steps;
    ConfigureLikeTheMainWindow(steps, 4);
    steps.ResetStepColors();  // the done colour set by index -1 stays
    steps.SetCurrentStep(1);
    steps.resize(200, 150);
    const QImage image = steps.grab().toImage();
    EXPECT_EQ(steps.FillColorOf(0), kProduct);
    EXPECT_EQ(At(image, steps.StepBox(0), 9, 4), ToPlatformColor(kProduct).rgb());   // filled disc
    EXPECT_EQ(At(image, steps.StepBox(1), 9, 9), qRgb(0, 0, 255));                   // current: centre dot
    EXPECT_EQ(At(image, steps.StepBox(1), 9, 3), qRgb(255, 255, 255));               // its white ring
    EXPECT_EQ(At(image, steps.StepBox(1), 9, 1), qRgb(0, 0, 255));                   // its outer ring
    EXPECT_EQ(At(image, steps.StepBox(2), 9, 9), qRgb(255, 255, 255));               // later: a ring
    EXPECT_EQ(At(image, steps.StepBox(2), 9, 4), qRgb(255, 255, 255));
}

TEST(StepList, AFailedGroupShowsAFireBrickDiscAndCaption)
{
    CSCStepCtrl steps;
    ConfigureLikeTheMainWindow(steps, 3);
    steps.ResetStepColors();
    steps.SetCurrentStep(1);
    steps.SetStepFillColor(1, kFireBrick);
    steps.SetStepText(1, QStringLiteral("그룹1 체크 실패"), kFireBrick);
    steps.SetCurrentStep(3);  // past the last: every step done
    steps.resize(200, 150);
    const QImage image = steps.grab().toImage();
    EXPECT_EQ(steps.FillColorOf(1), kFireBrick);
    EXPECT_EQ(steps.CaptionColorOf(1), kFireBrick);
    EXPECT_EQ(At(image, steps.StepBox(1), 9, 4), ToPlatformColor(kFireBrick).rgb());
    EXPECT_EQ(At(image, steps.StepBox(2), 9, 4), ToPlatformColor(kProduct).rgb());
    EXPECT_EQ(steps.StepText(1), QStringLiteral("그룹1 체크 실패"));
}

TEST(StepList, BeforeTheFirstRunEveryStepIsARingInTheProductColour)
{
    CSCStepCtrl steps;
    ConfigureLikeTheMainWindow(steps, 3);
    steps.resize(200, 150);
    const QImage image = steps.grab().toImage();
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(steps.FillColorOf(c), kProduct);
        EXPECT_EQ(steps.CaptionColorOf(c), kProduct);
        EXPECT_EQ(At(image, steps.StepBox(c), 9, 9), qRgb(255, 255, 255));
    }
}


// An unknown product's light grey would vanish on white: its rings and lines keep the grey, its
// captions are drawn in the nearest shade that reads. Readable colours are drawn as they are.
TEST(StepList, CaptionsStayReadableWhateverTheProductColour)
{
    // Large captions, so that some pixels of each glyph are covered fully and show the pen's colour.
    QFont large = QGuiApplication::font();
    large.setPixelSize(36);
    auto caption_area = [](const CSCStepCtrl& steps, int c) {
        const QRect box = steps.StepBox(c);
        return QRect(box.right() + 9, box.center().y() - 10, steps.width() - box.right() - 10, 20);
    };

    constexpr ARGB kUnknownProduct = 0xFFD3D3D3;
    CSCStepCtrl steps;
    steps.setFont(large);
    ConfigureLikeTheMainWindow(steps, 3, kUnknownProduct);
    steps.resize(400, 300);
    const QImage image = steps.grab().toImage();
    const ARGB readable = ReadableTextColor(kUnknownProduct, 0xFFFFFFFF);
    ASSERT_GE(ContrastRatio(readable, 0xFFFFFFFF), kReadableContrast);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(steps.CaptionColorOf(c), kUnknownProduct);
        EXPECT_EQ(steps.CaptionTextColorOf(c), readable);
        EXPECT_EQ(DarkestIn(image, caption_area(steps, c)), ToPlatformColor(readable).rgb()) << c;
        EXPECT_EQ(DarkestIn(image, steps.StepBox(c)), ToPlatformColor(kUnknownProduct).rgb()) << c;  // the ring
    }

    CSCStepCtrl readable_steps;
    readable_steps.setFont(large);
    ConfigureLikeTheMainWindow(readable_steps, 2, 0xFF3B455B);
    readable_steps.resize(400, 300);
    const QImage plain = readable_steps.grab().toImage();
    EXPECT_EQ(readable_steps.CaptionTextColorOf(0), 0xFF3B455Bu);
    EXPECT_EQ(DarkestIn(plain, caption_area(readable_steps, 0)), qRgb(0x3B, 0x45, 0x5B));
}

TEST(StepList, OutOfRangeIndexesAreIgnored)
{
    CSCStepCtrl steps;
    steps.SetStepCount(2);
    steps.SetStepText(5, QStringLiteral("x"));
    steps.SetStepText(-1, QStringLiteral("x"));
    steps.SetStepFillColor(2, kFireBrick);
    EXPECT_EQ(steps.FillColorOf(0), 0xFF808080u);
    steps.SetStepCount(0);
    EXPECT_EQ(steps.GetStepCount(), 0);
}
