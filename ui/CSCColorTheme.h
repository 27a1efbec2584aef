#pragma once

#include <QColor>

#include <array>
#include <cstdint>

class QWidget;

// Colours are kept as 0xAARRGGBB throughout the control library.
using ARGB = std::uint32_t;

// "No colour" / "keep the current colour" wherever a colour parameter allows it: white with alpha 0.
inline constexpr ARGB kArgbNone = 0x00FFFFFF;

// Adds delta to red, green and blue, each clamped to 0..255; alpha stays.
ARGB AdjustColor(ARGB colour, int delta);
// The grey of the same luminance, alpha unchanged.
ARGB GreyOf(ARGB colour);
// Opaque ARGB from a platform colour (its alpha is ignored).
ARGB ToARGB(const QColor& colour);
// The platform colour with red, green and blue only (always opaque).
QColor ToPlatformColor(ARGB colour);
// The same colour including its alpha, for painting that honours transparency.
QColor ToQColorWithAlpha(ARGB colour);

// The colour set a self-drawn control owns by value; a style number switches it as a whole.
class CSCColorTheme {
public:
    enum Slot {
        kText = 0,
        kSelectedTextFocus = 4,
        kSelectedTextNoFocus = 5,
        kBack = 6,
        kSelectedBackFocus = 9,
        kSelectedBackNoFocus = 10,
        kAlternateBack = 11,
        kSelectionFrame = 12,
        kBorder = 13,
        kCaptionText = 14,
        kCaptionBack = 15,
        kCaptionHover = 16,
        kCaptionPressed = 17,
    };
    static constexpr int kSlotCount = 20;

    explicit CSCColorTheme(const QWidget* owner = nullptr);

    void SetStyle(int style);
    int GetStyle() const { return style_; }

    ARGB slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
    QColor color(int index) const { return ToPlatformColor(slot(index)); }
    void SetSlot(int index, ARGB colour) { slots_.at(static_cast<std::size_t>(index)) = colour; }

    const QWidget* owner() const { return owner_; }
    void SetOwner(const QWidget* owner) { owner_ = owner; }

private:
    void ApplyStandard();
    void ApplyGraphite();
    void ApplyDark();
    void ApplySystemClassic();
    void ApplyCaptionStyle(int style);
    bool OwnerIsEditLike() const;

    std::array<ARGB, kSlotCount> slots_{};
    const QWidget* owner_ = nullptr;
    int style_ = 0;
};
