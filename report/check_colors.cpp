#include "report/check_colors.h"

uint32_t elapsed_color(int elapsed_ms) {
    if (elapsed_ms <= 50) return 0xFF007F00;
    if (elapsed_ms <= 100) return 0xFF20A5DA;
    if (elapsed_ms <= 300) return 0xFF507FFF;
    return 0xFF00008B;
}

CheckColors check_colors(int result_code, int elapsed_ms) {
    CheckColors colors;
    if (result_code == 0)
        colors.elapsed = elapsed_color(elapsed_ms);
    else
        colors.row = kFailedCheckColor;
    return colors;
}

uint32_t try_color(int elapsed_ms, bool ok) {
    return ok ? elapsed_color(elapsed_ms) : kFailedCheckColor;
}
