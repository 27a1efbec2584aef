#include "report/text_encoding.h"

#include <optional>
#include <string>

namespace {

constexpr size_t kShortestPadding = 8;

// A byte no text holds: controls other than tab, line ends, form feed and escape.
bool is_odd_control(unsigned unit) {
    return unit < 0x20 && unit != '\t' && unit != '\n' && unit != '\r' && unit != '\v' && unit != '\f' &&
           unit != 0x1B;
}

bool few(size_t count, size_t of) {
    return count * 100 <= of;
}

// UTF-16 without a byte-order mark: a good part of its characters are ASCII, whose high byte is zero,
// always on the same side; few are controls.
std::optional<TextEncoding> utf16_by_content(std::string_view head) {
    size_t chars = 0, low_side = 0, high_side = 0;
    for (size_t i = 0; i + 1 < head.size(); i += 2) {
        const auto a = static_cast<unsigned char>(head[i]), b = static_cast<unsigned char>(head[i + 1]);
        if (a == 0 && b == 0) continue;  // padding, or a character zero
        ++chars;
        low_side += b == 0;   // "A\0": little-endian ASCII
        high_side += a == 0;  // "\0A": big-endian ASCII
    }
    const bool little = low_side * 4 >= chars && high_side * 16 <= low_side;
    const bool big = high_side * 4 >= chars && low_side * 16 <= high_side;
    if (chars == 0 || (!little && !big)) return std::nullopt;
    size_t controls = 0;
    for (size_t i = 0; i + 1 < head.size(); i += 2) {
        const auto a = static_cast<unsigned char>(head[i]), b = static_cast<unsigned char>(head[i + 1]);
        const unsigned unit = little ? (b << 8 | a) : (a << 8 | b);
        controls += unit != 0 && is_odd_control(unit);
    }
    if (!few(controls, chars)) return std::nullopt;
    return little ? TextEncoding::kUtf16Le : TextEncoding::kUtf16Be;
}

// Text with runs of zero bytes (space reserved ahead, or a crash's hole): every run long or at an end
// of the head, and few controls among the rest.
bool padded_text(std::string_view head) {
    size_t text = 0, controls = 0;
    for (size_t i = 0; i < head.size();) {
        if (head[i] != '\0') {
            ++text;
            controls += is_odd_control(static_cast<unsigned char>(head[i++]));
            continue;
        }
        const size_t start = i;
        while (i < head.size() && head[i] == '\0') ++i;
        if (i - start < kShortestPadding && start != 0 && i != head.size()) return false;
    }
    return few(controls, text);
}

}  // namespace

TextEncoding sniff_encoding(std::string_view head, uint64_t leading_zeros) {
    if (head.substr(0, 4) == std::string_view("\xFF\xFE\0\0", 4)) return TextEncoding::kBinary;  // UTF-32
    if (head.substr(0, 2) == "\xFF\xFE") return TextEncoding::kUtf16Le;
    if (head.substr(0, 2) == "\xFE\xFF") return TextEncoding::kUtf16Be;
    if (leading_zeros == 0 && head.find('\0') == std::string_view::npos) return TextEncoding::kBytes;
    // An odd run of padding shifts the code units: one zero byte keeps them where they are.
    const std::string aligned =
        (leading_zeros % 2 ? std::string(1, '\0') : std::string()) + std::string(head);
    if (const auto utf16 = utf16_by_content(aligned)) return *utf16;
    return padded_text(head) ? TextEncoding::kBytes : TextEncoding::kBinary;
}
