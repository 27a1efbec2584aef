#include "ui/CSCColorTheme.h"
#include "ui/text_contrast.h"

#include <QGuiApplication>
#include <QListView>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(ColourArithmetic, AdjustClampsEachChannelAndKeepsAlpha)
{
    EXPECT_EQ(AdjustColor(0xFF101010, -16), 0xFF000000u);
    EXPECT_EQ(AdjustColor(0xFFF8F8F8, 16), 0xFFFFFFFFu);
    EXPECT_EQ(AdjustColor(0x80F80810, 16), 0x80FF1820u);
    EXPECT_EQ(AdjustColor(0x00FFFFFF, -255), 0x00000000u);
    EXPECT_EQ(AdjustColor(0xFF6184B4, -16), 0xFF5174A4u);
}

TEST(ColourArithmetic, GreyOfKeepsLuminanceAndAlpha)
{
    EXPECT_EQ(GreyOf(0xFFCCEBFF), 0xFFE4E4E4u);
    EXPECT_EQ(GreyOf(0xFF0078D7), 0xFF5F5F5Fu);
    EXPECT_EQ(GreyOf(0x40FFFFFF), 0x40FFFFFFu);
    EXPECT_EQ(GreyOf(0xFF000000), 0xFF000000u);
}

TEST(ColourArithmetic, PlatformConversionDropsAlpha)
{
    EXPECT_EQ(ToARGB(QColor(0x12, 0x34, 0x56, 0x10)), 0xFF123456u);
    const QColor platform = ToPlatformColor(0x20ABCDEF);
    EXPECT_EQ(platform.rgba(), qRgba(0xAB, 0xCD, 0xEF, 0xFF));
}

TEST(ColourTheme, CaptionShadesOfTheWorkedStyles)
{
    CSCColorTheme theme;
    EXPECT_EQ(theme.slot(16), 0xFFE3E3E3u);
    EXPECT_EQ(theme.slot(17), 0xFFC3C3C3u);
    theme.SetStyle(6);
    EXPECT_EQ(theme.slot(16), 0xFF7194C4u);
    EXPECT_EQ(theme.slot(17), 0xFF5174A4u);
    theme.SetStyle(9);
    EXPECT_EQ(theme.slot(14), 0xFF12183Au);
    EXPECT_EQ(theme.slot(16), 0xFF30C2BEu);
    EXPECT_EQ(theme.slot(17), 0xFF10A29Eu);
    theme.SetStyle(8);
    EXPECT_EQ(theme.slot(15), 0xFF3B455Bu);
    EXPECT_EQ(theme.slot(9), 0xFFFFFFFFu);
}

TEST(ColourTheme, UnusedSlotsStayBlack)
{
    CSCColorTheme theme;
    for (int style : {0, 3, 4, 5, 6, 10}) {
        theme.SetStyle(style);
        for (int unused : {1, 2, 3, 7, 8, 18, 19})
            EXPECT_EQ(theme.slot(unused), 0xFF000000u) << "style " << style << " slot " << unused;
    }
}

TEST(ColourTheme, StyleFiveKeepsTheCaptionAndAlternateOfTheStyleBefore)
{
    CSCColorTheme theme;
    theme.SetStyle(6);
    const ARGB alternate = theme.slot(11);
    theme.SetStyle(5);
    EXPECT_EQ(theme.GetStyle(), 5);
    EXPECT_EQ(theme.slot(11), alternate);
    EXPECT_EQ(theme.slot(14), 0xFFFFFFFFu);
    EXPECT_EQ(theme.slot(15), 0xFF6184B4u);
    EXPECT_EQ(theme.slot(16), 0xFF7194C4u);
    EXPECT_EQ(theme.slot(17), 0xFF5174A4u);
    EXPECT_EQ(theme.slot(9), 0xFFCCE8FFu);
    EXPECT_EQ(theme.slot(13), 0xFF696969u);
}

TEST(ColourTheme, StyleFourDerivesTheCaptionShadesFromTheSlotItKeeps)
{
    CSCColorTheme theme;
    theme.SetStyle(7);
    theme.SetStyle(4);
    EXPECT_EQ(theme.slot(15), 0xFFBA5912u);
    EXPECT_EQ(theme.slot(16), 0xFFCA6922u);
    EXPECT_EQ(theme.slot(17), 0xFFAA4902u);
    EXPECT_EQ(theme.slot(6), 0xFF252526u);
}

TEST(ColourTheme, StylesWithoutAnEntryBehaveAsStyleZero)
{
    CSCColorTheme zero;
    for (int style : {1, 2, 11, 42}) {
        CSCColorTheme other;
        other.SetStyle(3);
        other.SetStyle(style);
        EXPECT_EQ(other.GetStyle(), style);
        for (int slot = 0; slot < CSCColorTheme::kSlotCount; ++slot)
            EXPECT_EQ(other.slot(slot), zero.slot(slot)) << "style " << style << " slot " << slot;
    }
}

TEST(ColourTheme, StyleZeroBackgroundFollowsTheOwnerKind)
{
    const QPalette palette = QGuiApplication::palette();
    QListView list;
    QPushButton button;
    const CSCColorTheme list_theme(&list);
    const CSCColorTheme button_theme(&button);
    EXPECT_EQ(list_theme.slot(6), ToARGB(palette.color(QPalette::Base)));
    EXPECT_EQ(button_theme.slot(6), ToARGB(palette.color(QPalette::Button)));
    EXPECT_EQ(button_theme.slot(11), AdjustColor(button_theme.slot(6), -12));
    EXPECT_EQ(button_theme.slot(0), ToARGB(palette.color(QPalette::ButtonText)));
    EXPECT_EQ(button_theme.slot(4), button_theme.slot(0));
}

TEST(TextContrast, RatiosRunFromOneToTwentyOne)
{
    EXPECT_DOUBLE_EQ(ContrastRatio(0xFF000000, 0xFFFFFFFF), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(0xFFFFFFFF, 0xFF000000), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(0xFF6184B4, 0xFF6184B4), 1.0);
    EXPECT_NEAR(ContrastRatio(0xFFD3D3D3, 0xFFFFFFFF), 1.5, 0.01);   // an unknown product's colour
    EXPECT_NEAR(ContrastRatio(0xFF808080, 0xFFFFFFFF), 3.95, 0.01);
    EXPECT_NEAR(ContrastRatio(0x00767676, 0xFFFFFFFF), 4.54, 0.01);  // alpha plays no part
}

TEST(TextContrast, FaintTextTakesTheNearestReadableShade)
{
    // Readable colours stay as they are.
    for (ARGB readable : {0xFF3B455Bu, 0xFFBA5912u, 0xFFB22222u, 0xFFA0522Du, 0xFF0000FFu})
        EXPECT_EQ(ReadableTextColor(readable, 0xFFFFFFFF), readable);
    // Faint ones on white are darkened with AdjustColor, just far enough.
    struct Case {
        ARGB text;
        ARGB readable;
    } cases[] = {{0xFFD3D3D3, 0xFF767676}, {0xFF6184B4, 0xFF5578A8}, {0xFF20B2AE, 0xFF008480},
                 {0xFFD68108, 0xFFB56000}, {0x80D3D3D3, 0x80767676}};
    for (const Case& c : cases) {
        const ARGB shade = ReadableTextColor(c.text, 0xFFFFFFFF);
        EXPECT_EQ(shade, c.readable) << std::hex << c.text;
        EXPECT_GE(ContrastRatio(shade, 0xFFFFFFFF), kReadableContrast);
        EXPECT_LT(ContrastRatio(AdjustColor(shade, 1), 0xFFFFFFFF), kReadableContrast);
    }
    // On a dark background faint text is lightened instead; the ends always reach the ratio.
    const ARGB on_dark = ReadableTextColor(0xFF303030, 0xFF202020);
    EXPECT_GT(on_dark & 0xFFu, 0x30u);
    EXPECT_GE(ContrastRatio(on_dark, 0xFF202020), kReadableContrast);
    for (ARGB background : {0xFF767676u, 0xFF777777u, 0xFF7F7F7Fu, 0xFF595959u})
        EXPECT_GE(ContrastRatio(ReadableTextColor(background, background), background), kReadableContrast);
}
