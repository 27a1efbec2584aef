#include "ui/text_contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(ARGB colour, int shift)
{
    const double value = static_cast<double>((colour >> shift) & 0xFFu) / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(ARGB colour)
{
    return 0.2126 * Linear(colour, 16) + 0.7152 * Linear(colour, 8) + 0.0722 * Linear(colour, 0);
}

// Black and white stand equally far from a background of this luminance.
constexpr double kMiddleLuminance = 0.179;

}  // namespace

double ContrastRatio(ARGB first, ARGB second)
{
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

ARGB ReadableTextColor(ARGB text, ARGB background)
{
    // The far end (black or white) always reaches the ratio, so the search ends there at the latest.
    const int direction = RelativeLuminance(background) > kMiddleLuminance ? -1 : 1;
    for (int step = 0; step < 255; ++step) {
        const ARGB shade = AdjustColor(text, direction * step);
        if (ContrastRatio(shade, background) >= kReadableContrast)
            return shade;
    }
    return AdjustColor(text, direction * 255);
}
