#include "report/display_columns.h"

#include <cstdint>

namespace {

struct Range {
    uint32_t first, last;
};

// East Asian Width W and F, condensed to the blocks a support bundle can meet.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A}, {0x23E9, 0x23EC},   {0x25FD, 0x25FE},
    {0x2614, 0x2615},   {0x2E80, 0x303E},   {0x3041, 0x33FF}, {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

constexpr Range kZero[] = {
    {0x0300, 0x036F}, {0x1160, 0x11FF}, {0x200B, 0x200F},
    {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF},
};

template <size_t N>
bool in(const Range (&ranges)[N], uint32_t c) {
    for (const Range& r : ranges)
        if (c >= r.first && c <= r.last) return true;
    return false;
}

// Decodes one character at i and advances i; an invalid sequence yields its first byte alone.
uint32_t next_char(const std::string& s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    const uint8_t lead = byte(i);
    const int extra = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
    if (extra == 0 || i + extra >= s.size()) {
        ++i;
        return lead;
    }
    uint32_t c = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    i += extra + 1;
    return c;
}

}  // namespace

int display_width(const std::string& utf8) {
    int width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const uint32_t c = next_char(utf8, i);
        width += in(kZero, c) ? 0 : in(kWide, c) ? 2 : 1;
    }
    return width;
}

std::string pad_right(const std::string& utf8, int columns) {
    const int missing = columns - display_width(utf8);
    return missing > 0 ? utf8 + std::string(missing, ' ') : utf8;
}

std::string pad_left(const std::string& utf8, int columns) {
    const int missing = columns - display_width(utf8);
    return missing > 0 ? std::string(missing, ' ') + utf8 : utf8;
}
