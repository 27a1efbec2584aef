#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Byte classes the redactor's patterns are made of. Only ASCII counts: the bytes of UTF-8 characters
// are separators, so that "서버192.0.2.7" still gives up its address, and so is "_", which joins the
// parts of so many file names ("agent_192.0.2.7.log").
namespace text_scan {

inline bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
inline bool is_alpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool is_alnum(char c) {
    return is_digit(c) || is_alpha(c);
}
inline bool is_hex(char c) {
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
inline int hex_value(char c) {
    return is_digit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
}
inline char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
inline std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lower(c);
    return out;
}
// The byte at i, or a zero byte past the end.
inline char at(std::string_view text, size_t i) {
    return i < text.size() ? text[i] : '\0';
}
inline bool same_ignoring_case(std::string_view text, size_t i, std::string_view value) {
    if (text.size() < i || text.size() - i < value.size()) return false;
    for (size_t k = 0; k < value.size(); ++k)
        if (lower(text[i + k]) != lower(value[k])) return false;
    return true;
}

// True when an escape ends just before i: "%2F" of a URL, "\u00e9" or "\n" of JSON. The word after
// one starts a value as if a separator stood there ("%2Fjkim%2F", "C:\\Users\\jkim").
inline bool escape_ends_at(std::string_view text, size_t i) {
    if (i >= 3 && text[i - 3] == '%' && is_hex(text[i - 2]) && is_hex(text[i - 1])) return true;
    if (i >= 6 && text[i - 6] == '\\' && lower(text[i - 5]) == 'u' && is_hex(text[i - 4]) &&
        is_hex(text[i - 3]) && is_hex(text[i - 2]) && is_hex(text[i - 1]))
        return true;
    return i >= 2 && text[i - 2] == '\\' &&
           std::string_view("nrtbf").find(text[i - 1]) != std::string_view::npos;
}

// True when a word may start at i: at the start, after a byte that is no letter or digit, or after
// an escape.
inline bool word_starts_at(std::string_view text, size_t i) {
    return i == 0 || !is_alnum(text[i - 1]) || escape_ends_at(text, i);
}

}  // namespace text_scan
