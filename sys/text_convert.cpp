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
