#include "sys/text_convert.h"

#include <cstdint>

std::string base64_encode(const void* data, size_t size) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::string text;
    text.reserve((size + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        uint32_t v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        text += kAlphabet[v >> 18];
        text += kAlphabet[(v >> 12) & 63];
        text += kAlphabet[(v >> 6) & 63];
        text += kAlphabet[v & 63];
    }
    if (size - i == 1) {
        uint32_t v = bytes[i] << 16;
        text += kAlphabet[v >> 18];
        text += kAlphabet[(v >> 12) & 63];
        text += "==";
    } else if (size - i == 2) {
        uint32_t v = (bytes[i] << 16) | (bytes[i + 1] << 8);
        text += kAlphabet[v >> 18];
        text += kAlphabet[(v >> 12) & 63];
        text += kAlphabet[(v >> 6) & 63];
        text += '=';
    }
    return text;
}

std::string base64_encode(const std::string& bytes) {
    return base64_encode(bytes.data(), bytes.size());
}

std::string utf8_prefix(const std::string& text, size_t max_bytes) {
    if (text.size() <= max_bytes) return text;
    size_t cut = max_bytes;
    // A sequence is at most four bytes long: at most three continuation bytes to step back over.
    for (int back = 0; back < 3 && cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80; ++back) --cut;
    return text.substr(0, cut);
}

void append_utf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool starts_with_utf16_mark(const std::string& bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

std::string text_as_utf8(const std::string& bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return bytes.substr(3);
    if (!starts_with_utf16_mark(bytes)) return bytes;
    constexpr uint32_t kReplacement = 0xFFFD;
    const bool big_endian = bytes[0] == '\xFE';
    auto unit_at = [&](size_t i) {
        const auto first = static_cast<uint8_t>(bytes[i]), second = static_cast<uint8_t>(bytes[i + 1]);
        return static_cast<uint32_t>(big_endian ? first << 8 | second : second << 8 | first);
    };
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    size_t i = 2;
    for (; i + 1 < bytes.size(); i += 2) {
        const uint32_t unit = unit_at(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const uint32_t low = unit_at(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                append_utf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        append_utf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
    }
    if (i < bytes.size()) append_utf8(out, kReplacement);
    return out;
}
