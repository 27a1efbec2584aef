#include "sys/number_text.h"

#include <array>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "sys/ascii_text.h"
#include "sys/string_printf.h"

namespace {

constexpr std::array<const char*, 9> kSizeUnits = {" Bytes", "KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};

// Inserts "," between groups of three digits of the integer part; a leading sign is not a digit.
std::string group_thousands(const std::string& text) {
    size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0) dot = text.size();
    size_t first_digit = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    std::string grouped = text.substr(0, first_digit);
    size_t digits = dot > first_digit ? dot - first_digit : 0;
    for (size_t i = 0; i < digits; ++i) {
        if (i > 0 && (digits - i) % 3 == 0) grouped += ',';
        grouped += text[first_digit + i];
    }
    grouped += text.substr(dot);
    return grouped;
}

}  // namespace

std::string format_decimal(double value, int decimals, bool grouping) {
    std::string text;
    if (decimals < 0) {
        text = string_printf("%f", value);
    } else {
        char format[32];
        std::snprintf(format, sizeof(format), "%%0.%df", decimals);
        text = string_printf(format, value);
    }
    return grouping ? group_thousands(text) : text;
}

std::string format_size(uint64_t bytes, int unit, int decimals, bool append_unit, bool grouping) {
    double d = static_cast<double>(bytes);
    int index = 0;
    if (unit >= 0) {
        index = unit < static_cast<int>(kSizeUnits.size()) ? unit : static_cast<int>(kSizeUnits.size()) - 1;
        for (int i = 0; i < index; ++i) d /= 1024.0;
    } else {
        while (d >= 1000.0 && index + 1 < static_cast<int>(kSizeUnits.size())) {
            d /= 1024.0;
            ++index;
        }
        // Three significant digits. A value that rounds to four digits (999.5 KB and up) gets no
        // decimals rather than the long "%f" form.
        decimals = index == 0 ? 0 : 3 - static_cast<int>(string_printf("%.0f", d).size());
        if (decimals < 0) decimals = 0;
    }
    double scale = std::pow(10.0, decimals);
    d = std::ceil(d * scale) / scale;
    std::string text = format_decimal(d, decimals, grouping);
    if (append_unit) text += kSizeUnits[index];
    return text;
}

std::string format_integer(int64_t value, bool zero_pad, int width) {
    char buffer[64];
    if (zero_pad)
        std::snprintf(buffer, sizeof(buffer), "%0*" PRId64, width < 1 ? 0 : width, value);
    else
        std::snprintf(buffer, sizeof(buffer), "%" PRId64, value);
    return buffer;
}

std::string MaskAddress(const std::string& address) {
    if (address.empty()) return {};
    size_t first = address.find('.');
    size_t last = address.rfind('.');
    std::string masked = first == std::string::npos ? std::string() : address.substr(0, first);

    bool numeric = false;
    for (char c : address) {
        if (c == '.') continue;
        numeric = c >= '0' && c <= '9';
        if (!numeric) break;
    }
    if (numeric) {
        if (first == std::string::npos) return masked + address;
        masked.append(last - first, '*');
        masked += address.substr(last + 1);
        return masked;
    }
    // A host name: one "*" per character after the first label, counted in characters, not bytes.
    // Without a dot every character is hidden and one more "*" is shown.
    size_t tail_start = first == std::string::npos ? 0 : first;
    size_t characters = 0;
    for (size_t i = tail_start; i < address.size(); ++i)
        if ((static_cast<unsigned char>(address[i]) & 0xC0) != 0x80) ++characters;
    masked.append(first == std::string::npos ? characters + 1 : characters, '*');
    return masked;
}

int find_text(const std::string& text, const std::string& what, bool case_sensitive) {
    if (what.empty()) return -1;
    size_t at = case_sensitive ? text.find(what) : ascii_lower(text).find(ascii_lower(what));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}
