#include "engine/bundle_options.h"

namespace {

// The value of text made only of decimal digits, nothing when it is empty or passes limit.
std::optional<uint64_t> whole_number(std::string_view text, uint64_t limit) {
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (limit - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

std::optional<uint64_t> parse_byte_size(std::string_view text) {
    constexpr uint64_t kLimit = uint64_t{1} << 63;
    if (!text.empty() && (text.back() == 'B' || text.back() == 'b')) text.remove_suffix(1);
    int shift = 0;
    if (!text.empty()) {
        switch (text.back()) {
            case 'K':
            case 'k':
                shift = 10;
                break;
            case 'M':
            case 'm':
                shift = 20;
                break;
            case 'G':
            case 'g':
                shift = 30;
                break;
            default:
                break;
        }
        if (shift) text.remove_suffix(1);
    }
    const std::optional<uint64_t> number = whole_number(text, kLimit >> shift);
    if (!number || *number == 0) return std::nullopt;
    return *number << shift;
}

std::optional<int> parse_day_count(std::string_view text) {
    const std::optional<uint64_t> days = whole_number(text, 36500);
    if (!days || *days == 0) return std::nullopt;
    return static_cast<int>(*days);
}
