#include "app/dialog_units.h"

#include <QFontMetrics>

namespace {

// A horizontal dialog unit is a quarter of the average letter width, a vertical one an eighth of
// the line height.
struct BaseUnits {
    int x;
    int y;
};

BaseUnits base_units(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

int scale(int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; }

}  // namespace

QRect dialog_units_to_pixels(const QFont& dialog_font, int x, int y, int width, int height)
{
    const BaseUnits base = base_units(dialog_font);
    return QRect(scale(x, base.x, 4), scale(y, base.y, 8), scale(width, base.x, 4), scale(height, base.y, 8));
}
