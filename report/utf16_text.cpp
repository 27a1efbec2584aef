#include "report/utf16_text.h"

#include "sys/text_convert.h"

namespace {

bool is_high_surrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool is_low_surrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
size_t sequence_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

void Utf16Decoder::decode(std::string_view bytes, std::string& utf8) {
    size_t i = 0;
    auto byte = [&](size_t k) {
        return static_cast<unsigned char>(k < odd.size() ? odd[k] : bytes[k - odd.size()]);
    };
    const size_t total = odd.size() + bytes.size();
    utf8.reserve(utf8.size() + total);
    for (; i + 1 < total; i += 2) {
        const uint32_t unit = big_endian ? (byte(i) << 8 | byte(i + 1)) : (byte(i + 1) << 8 | byte(i));
        if (high) {
            if (is_low_surrogate(unit)) {
                append_utf8(utf8, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
                high = 0;
                continue;
            }
            append_utf8(utf8, high);
            high = 0;
        }
        if (is_high_surrogate(unit))
            high = static_cast<uint16_t>(unit);
        else
            append_utf8(utf8, unit);
    }
    odd = i < total ? std::string(1, static_cast<char>(byte(i))) : std::string();
}

void Utf16Decoder::finish(std::string& utf8) {
    if (high) append_utf8(utf8, high);
    high = 0;
}

void Utf16Encoder::put_unit(uint32_t unit, std::string& bytes) const {
    const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? hi : lo;
    bytes += big_endian ? lo : hi;
}

void Utf16Encoder::encode(std::string_view utf8, std::string& bytes) {
    std::string joined;
    if (!partial.empty()) {
        joined = partial;
        joined.append(utf8);
        utf8 = joined;
        partial.clear();
    }
    bytes.reserve(bytes.size() + utf8.size() * 2);
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = sequence_length(lead);
        if (length == 0) {
            put_unit(0xFFFD, bytes);
            ++i;
            continue;
        }
        if (i + length > utf8.size()) {
            partial.assign(utf8.substr(i));
            return;
        }
        uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        size_t k = 1;
        for (; k < length && (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80; ++k)
            cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (k < length) {
            put_unit(0xFFFD, bytes);
            ++i;
            continue;
        }
        i += length;
        if (cp >= 0x10000) {
            put_unit(0xD800 + ((cp - 0x10000) >> 10), bytes);
            put_unit(0xDC00 + ((cp - 0x10000) & 0x3FF), bytes);
        } else {
            put_unit(cp, bytes);  // lone surrogates included, as they came in
        }
    }
}

void Utf16Encoder::finish(std::string& bytes) {
    if (!partial.empty()) put_unit(0xFFFD, bytes);
    partial.clear();
}
