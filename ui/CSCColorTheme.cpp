#include "ui/CSCColorTheme.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>

namespace {

// System colours come from the application palette, made opaque.
ARGB System(QPalette::ColorGroup group, QPalette::ColorRole role)
{
    return ToARGB(QGuiApplication::palette().color(group, role));
}

ARGB System(QPalette::ColorRole role)
{
    return System(QPalette::Active, role);
}

int Channel(ARGB colour, int shift)
{
    return static_cast<int>((colour >> shift) & 0xFFu);
}

}  // namespace

ARGB AdjustColor(ARGB colour, int delta)
{
    auto adjust = [&](int shift) {
        return static_cast<ARGB>(std::clamp(Channel(colour, shift) + delta, 0, 255)) << shift;
    };
    return (colour & 0xFF000000u) | adjust(16) | adjust(8) | adjust(0);
}

ARGB GreyOf(ARGB colour)
{
    // Integer form of floor(weighted / 16384 + 0.5).
    const int weighted = 4897 * Channel(colour, 16) + 9617 * Channel(colour, 8) + 1868 * Channel(colour, 0);
    const auto l = static_cast<ARGB>((weighted + 8192) / 16384);
    return (colour & 0xFF000000u) | (l << 16) | (l << 8) | l;
}

ARGB ToARGB(const QColor& colour)
{
    return 0xFF000000u | (static_cast<ARGB>(colour.rgb()) & 0x00FFFFFFu);
}

QColor ToPlatformColor(ARGB colour)
{
    return QColor(Channel(colour, 16), Channel(colour, 8), Channel(colour, 0));
}

QColor ToQColorWithAlpha(ARGB colour)
{
    return QColor(Channel(colour, 16), Channel(colour, 8), Channel(colour, 0), Channel(colour, 24));
}

CSCColorTheme::CSCColorTheme(const QWidget* owner) : owner_(owner)
{
    slots_.fill(0xFF000000u);
    SetStyle(0);
}

bool CSCColorTheme::OwnerIsEditLike() const
{
    if (owner_ == nullptr)
        return false;
    // The library's own list control draws itself but counts as a list view here.
    return qobject_cast<const QAbstractItemView*>(owner_) != nullptr ||
           qobject_cast<const QLineEdit*>(owner_) != nullptr ||
           qobject_cast<const QTextEdit*>(owner_) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(owner_) != nullptr || owner_->inherits("CVtListCtrlEx");
}

void CSCColorTheme::SetStyle(int style)
{
    style_ = style;
    switch (style) {
    case 3:
        ApplyGraphite();
        break;
    case 4:
        ApplyDark();
        break;
    case 5:
        ApplySystemClassic();
        break;
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
        ApplyCaptionStyle(style);
        break;
    default:
        ApplyStandard();
        break;
    }
    // Style 5 keeps whatever caption colours the previous style left.
    if (style != 5) {
        slots_[kCaptionHover] = AdjustColor(slots_[kCaptionBack], 16);
        slots_[kCaptionPressed] = AdjustColor(slots_[kCaptionBack], -16);
    }
}

void CSCColorTheme::ApplyStandard()
{
    slots_[kText] = System(QPalette::ButtonText);
    slots_[kSelectedTextFocus] = slots_[kText];
    slots_[kSelectedTextNoFocus] = slots_[kText];
    slots_[kBack] = OwnerIsEditLike() ? System(QPalette::Base) : System(QPalette::Button);
    slots_[kSelectedBackFocus] = 0xFFCCEBFF;
    slots_[kSelectedBackNoFocus] = 0xFFE4E4E4;
    slots_[kAlternateBack] = AdjustColor(slots_[kBack], -12);
    slots_[kSelectionFrame] = 0xFF99D1FF;
    slots_[kBorder] = 0xFF696969;
    slots_[kCaptionText] = 0xFF000000;
    slots_[kCaptionBack] = 0xFFD3D3D3;
}

void CSCColorTheme::ApplyGraphite()
{
    slots_[kText] = 0xFFA4A4A4;
    slots_[kSelectedTextFocus] = 0xFFF1F1F1;
    slots_[kSelectedTextNoFocus] = 0xFFF1F1F1;
    slots_[kBack] = 0xFF404040;
    slots_[kSelectedBackFocus] = 0xFF303030;
    slots_[kSelectedBackNoFocus] = 0xFF303030;
    slots_[kAlternateBack] = 0xFF484848;
    slots_[kSelectionFrame] = 0xFF808080;
    slots_[kBorder] = 0xFFA9A9A9;
    slots_[kCaptionText] = 0xFFD3D3D3;
    slots_[kCaptionBack] = 0xFF101010;
}

void CSCColorTheme::ApplyDark()
{
    slots_[kText] = 0xFFD4D4D4;
    slots_[kSelectedTextFocus] = 0xFFF1F1F1;
    slots_[kSelectedTextNoFocus] = 0xFFF1F1F1;
    slots_[kBack] = 0xFF252526;
    slots_[kSelectedBackFocus] = 0xFF0078D7;
    slots_[kSelectedBackNoFocus] = 0xFF5F5F5F;
    slots_[kAlternateBack] = 0xFF2D2D2E;
    slots_[kSelectionFrame] = 0xFF0078D7;
    slots_[kBorder] = 0xFF000000;
}

void CSCColorTheme::ApplySystemClassic()
{
    slots_[kText] = System(QPalette::ButtonText);
    slots_[kSelectedTextFocus] = slots_[kText];
    // The platform has no caption colours; the inactive window text stands in for the inactive caption text.
    slots_[kSelectedTextNoFocus] = System(QPalette::Inactive, QPalette::WindowText);
    slots_[kBack] = System(QPalette::Button);
    slots_[kSelectedBackFocus] = 0xFFCCE8FF;
    slots_[kSelectedBackNoFocus] = System(QPalette::Highlight);
    slots_[kSelectionFrame] = 0xFF99D1FF;
    slots_[kBorder] = 0xFF696969;
}

void CSCColorTheme::ApplyCaptionStyle(int style)
{
    slots_[kText] = 0xFF000000;
    slots_[kSelectedTextFocus] = 0xFFF1F1F1;
    slots_[kSelectedTextNoFocus] = 0xFFF1F1F1;
    slots_[kBack] = 0xFFFFFFFF;
    const ARGB selected = style == 6 ? 0xFFDFDFDF : 0xFFFFFFFF;
    slots_[kSelectedBackFocus] = selected;
    slots_[kSelectedBackNoFocus] = selected;
    slots_[kAlternateBack] = 0xFFFFFFFF;
    slots_[kSelectionFrame] = 0xFF808080;
    slots_[kBorder] = 0xFFA9A9A9;
    slots_[kCaptionText] = style == 9 ? 0xFF12183A : 0xFFFFFFFF;
    switch (style) {
    case 6: slots_[kCaptionBack] = 0xFF6184B4; break;
    case 7: slots_[kCaptionBack] = 0xFFBA5912; break;
    case 8: slots_[kCaptionBack] = 0xFF3B455B; break;
    case 9: slots_[kCaptionBack] = 0xFF20B2AE; break;
    default: slots_[kCaptionBack] = 0xFFD68108; break;
    }
}
