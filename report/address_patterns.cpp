#include "report/address_patterns.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "report/text_scan.h"

using namespace text_scan;

namespace {

constexpr size_t kLongestLabel = 32;
constexpr size_t kMostSeparators = 32;
constexpr size_t kLongestVersionWord = 24;
constexpr size_t kLongestIpv6Run = 64;  // the longest written form is 45 bytes
constexpr size_t kLongestLocalPart = 192;
constexpr size_t kLongestDomain = 253;

// "addr:fe80::1", "MAC:00:1A:…": a word with a letter that is no hex digit, then a colon, stands before
// the value, which therefore does not continue a run of groups.
bool after_label(std::string_view text, size_t i) {
    if (i < 2 || text[i - 1] != ':') return false;
    bool named = false;
    size_t j = i - 1;
    while (j > 0 && i - 1 - j < kLongestLabel && is_alnum(text[j - 1])) named |= !is_hex(text[--j]);
    return named;
}

// The value may start at i: first in the text, after a separator or an escape, or after a label.
bool starts_value(std::string_view text, size_t i, std::string_view continuing) {
    if (i == 0 || after_label(text, i)) return true;
    const char before = text[i - 1];
    if (continuing.find(before) != std::string_view::npos) return false;
    return !is_alnum(before) || escape_ends_at(text, i);
}

// ---- IPv4

// The four octets of an address exactly filling text (1 to 3 digits each, at most 255).
bool parse_ipv4(std::string_view text, char separator, std::array<uint8_t, 4>& octets) {
    size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && at(text, i++) != separator) return false;
        int value = 0, digits = 0;
        while (digits < 3 && is_digit(at(text, i))) value = value * 10 + (text[i++] - '0'), ++digits;
        if (digits == 0 || value > 255) return false;
        octets[part] = static_cast<uint8_t>(value);
    }
    return i == text.size();
}

std::string ipv4_key(const std::array<uint8_t, 4>& o) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", o[0], o[1], o[2], o[3]);
    return text;
}

bool ipv4_names_nobody(const std::array<uint8_t, 4>& o) {
    return o[0] == 127 || (o[0] == 0 && o[1] == 0 && o[2] == 0 && o[3] == 0);
}

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// "version : 1.0.0.1", "(ver. 10.2.0.7)", "build1.0.0.7", "버전 1.0.0.1", "FileVersion=6.1.7600.1":
// a dotted quad after such a word is a version, not an address.
bool follows_version_word(std::string_view text, size_t i) {
    size_t j = i;
    while (j > 0 && i - j < kMostSeparators &&
           std::string_view(" \t:.=#(").find(text[j - 1]) != std::string_view::npos)
        --j;
    const std::string_view before = text.substr(0, j);
    if (ends_with(before, "버전") || ends_with(before, "빌드")) return true;
    size_t word = j;
    while (word > 0 && j - word < kLongestVersionWord && is_alpha(text[word - 1])) --word;
    const std::string name = lowered(text.substr(word, j - word));
    return name == "v" || name == "ver" || name == "build" || ends_with(name, "version");
}

// ".443" after a quad, as BSD netstat writes a socket: a port, not a fifth part of a version.
bool port_follows(std::string_view text, size_t dot) {
    size_t end = dot + 1;
    uint32_t port = 0;
    while (is_digit(at(text, end)) && end - dot <= 5)
        port = port * 10 + static_cast<uint32_t>(text[end++] - '0');
    if (end == dot + 1 || port > 65535 || is_alnum(at(text, end))) return false;
    return !(at(text, end) == '.' && is_digit(at(text, end + 1)));
}

bool match_ipv4_with(std::string_view text, size_t i, char separator, ValueMatch& m) {
    size_t end = i;
    while (end < text.size() && end - i < 15 && (is_digit(text[end]) || text[end] == separator)) ++end;
    // The longest quad at i; what follows must not continue a number or a word.
    for (size_t len = end - i; len >= 7; --len) {
        std::array<uint8_t, 4> o{};
        if (!parse_ipv4(text.substr(i, len), separator, o)) continue;
        const char next = at(text, i + len);
        if (is_alnum(next)) return false;
        if (next == separator && is_digit(at(text, i + len + 1)) &&
            (separator != '.' || !port_follows(text, i + len)))
            return false;
        m.length = len;
        m.key = ipv4_key(o);
        m.kind = ipv4_names_nobody(o) || follows_version_word(text, i) ? nullptr : "ip";
        return true;
    }
    return false;
}

// "ip-10-20-30-40.ec2.internal", "ec2-54-12-34-56.compute-1.amazonaws.com": cloud host names.
bool after_cloud_prefix(std::string_view text, size_t i) {
    if (at(text, i - 1) != '-') return false;
    for (std::string_view prefix : {"ip", "ec2"}) {
        const size_t start = i - 1 - prefix.size();
        if (i > prefix.size() && same_ignoring_case(text, start, prefix) && word_starts_at(text, start))
            return true;
    }
    return false;
}

// ---- MAC

// Pairs of hex digits joined by separator from i: their bytes, at most max_groups of them.
size_t hex_pairs(std::string_view text, size_t i, char separator, size_t max_groups,
                 std::vector<uint8_t>& bytes) {
    size_t p = i;
    for (;;) {
        if (!is_hex(at(text, p)) || !is_hex(at(text, p + 1))) return 0;
        bytes.push_back(static_cast<uint8_t>(hex_value(text[p]) << 4 | hex_value(text[p + 1])));
        if (at(text, p + 2) != separator || bytes.size() == max_groups) return p + 2 - i;
        p += 3;
    }
}

std::string mac_key(const uint8_t* b) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", b[0], b[1], b[2], b[3], b[4], b[5]);
    return text;
}

void found_mac(const uint8_t* b, ValueMatch& m) {
    m.key = mac_key(b);
    const bool none = std::all_of(b, b + 6, [](uint8_t v) { return v == 0; });
    const bool broadcast = std::all_of(b, b + 6, [](uint8_t v) { return v == 0xff; });
    m.kind = none || broadcast ? nullptr : "mac";  // no card has these
}

// "001a.2b3c.4d5e": three groups of four hex digits.
bool match_cisco_mac(std::string_view text, size_t i, ValueMatch& m) {
    uint8_t b[6];
    for (size_t group = 0; group < 3; ++group) {
        const size_t p = i + group * 5;
        for (size_t k = 0; k < 4; ++k)
            if (!is_hex(at(text, p + k))) return false;
        if (group < 2 && at(text, p + 4) != '.') return false;
        b[group * 2] = static_cast<uint8_t>(hex_value(text[p]) << 4 | hex_value(text[p + 1]));
        b[group * 2 + 1] = static_cast<uint8_t>(hex_value(text[p + 2]) << 4 | hex_value(text[p + 3]));
    }
    const char next = at(text, i + 14);
    if (is_alnum(next) || (next == '.' && is_hex(at(text, i + 15)))) return false;
    m.length = 14;
    found_mac(b, m);
    return true;
}

// ---- IPv6

// Hexadecimal groups separated by ":", the last one possibly a dotted IPv4 address (two groups).
bool parse_groups(std::string_view part, std::vector<uint16_t>& groups, bool ipv4_tail) {
    if (part.empty()) return true;
    size_t start = 0;
    for (;;) {
        const size_t colon = part.find(':', start);
        const std::string_view group =
            part.substr(start, colon == std::string_view::npos ? colon : colon - start);
        if (colon == std::string_view::npos && ipv4_tail && group.find('.') != std::string_view::npos) {
            std::array<uint8_t, 4> o{};
            if (!parse_ipv4(group, '.', o)) return false;
            groups.push_back(static_cast<uint16_t>(o[0] << 8 | o[1]));
            groups.push_back(static_cast<uint16_t>(o[2] << 8 | o[3]));
            return true;
        }
        if (group.empty() || group.size() > 4) return false;
        uint16_t value = 0;
        for (char c : group) {
            if (!is_hex(c)) return false;
            value = static_cast<uint16_t>(value << 4 | hex_value(c));
        }
        groups.push_back(value);
        if (colon == std::string_view::npos) return true;
        start = colon + 1;
    }
}

// The sixteen bytes of an IPv6 address exactly filling text, in any of its written forms.
bool parse_ipv6(std::string_view text, std::array<uint8_t, 16>& bytes) {
    const size_t gap = text.find("::");
    std::vector<uint16_t> head, tail;
    if (gap == std::string_view::npos) {
        if (!parse_groups(text, head, true) || head.size() != 8) return false;
    } else {
        if (text.find("::", gap + 1) != std::string_view::npos) return false;
        if (!parse_groups(text.substr(0, gap), head, false) ||
            !parse_groups(text.substr(gap + 2), tail, true))
            return false;
        if (head.size() + tail.size() > 7) return false;
        head.resize(8 - tail.size(), 0);
        head.insert(head.end(), tail.begin(), tail.end());
    }
    for (size_t g = 0; g < 8; ++g) {
        bytes[2 * g] = static_cast<uint8_t>(head[g] >> 8);
        bytes[2 * g + 1] = static_cast<uint8_t>(head[g]);
    }
    return true;
}

void found_ipv6(const std::array<uint8_t, 16>& b, ValueMatch& m) {
    const bool zero_head = std::all_of(b.begin(), b.begin() + 10, [](uint8_t v) { return v == 0; });
    if (zero_head && b[10] == 0xff && b[11] == 0xff) {  // an IPv4 address written the IPv6 way
        const std::array<uint8_t, 4> o = {b[12], b[13], b[14], b[15]};
        m.key = ipv4_key(o);
        m.kind = ipv4_names_nobody(o) ? nullptr : "ip";
        return;
    }
    m.key.clear();
    for (size_t g = 0; g < 16; g += 2) {
        char group[8];
        std::snprintf(group, sizeof group, g ? ":%x" : "%x", b[g] << 8 | b[g + 1]);
        m.key += group;
    }
    const bool all_zero =
        zero_head && std::all_of(b.begin() + 10, b.end() - 1, [](uint8_t v) { return v == 0; });
    m.kind = all_zero && (b[15] == 0 || b[15] == 1) ? nullptr : "ip";  // "::" and "::1"
}

// "2001:db8:0:0:0:0:0:1:443": eight full groups and a port. (With "::" a port cannot be told from a
// group, so such a run is taken whole.)
size_t address_before_port(std::string_view run) {
    if (run.find("::") != std::string_view::npos || std::count(run.begin(), run.end(), ':') != 8) return 0;
    const size_t colon = run.rfind(':');
    const std::string_view port = run.substr(colon + 1);
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), is_digit)) return 0;
    return colon;
}

// ---- e-mail

bool is_local_part_char(char c) {
    return is_alnum(c) || c == '.' || c == '_' || c == '%' || c == '+' || c == '-';
}

// The at-sign at p, plain, URL-encoded or JSON-escaped: its length, 0 when none.
size_t at_sign_at(std::string_view text, size_t p) {
    if (at(text, p) == '@') return 1;
    if (same_ignoring_case(text, p, "%40")) return 3;
    return same_ignoring_case(text, p, "\\u0040") ? 6 : 0;
}

// The local part with its URL escapes undone, for the key.
std::string decoded(std::string_view text) {
    std::string out;
    for (size_t p = 0; p < text.size(); ++p) {
        if (text[p] == '%' && is_hex(at(text, p + 1)) && is_hex(at(text, p + 2))) {
            out += static_cast<char>(hex_value(text[p + 1]) << 4 | hex_value(text[p + 2]));
            p += 2;
        } else {
            out += text[p];
        }
    }
    return lowered(out);
}

}  // namespace

bool match_email(std::string_view text, size_t i, ValueMatch& m) {
    if (!is_alnum(text[i]) || (i > 0 && is_local_part_char(text[i - 1]) && !escape_ends_at(text, i)))
        return false;
    size_t start = i, p = i, sign = 0;
    while (p < text.size() && p - i <= kLongestLocalPart && !(sign = at_sign_at(text, p))) {
        if (text[p] == '%' && is_hex(at(text, p + 1)) && is_hex(at(text, p + 2))) {
            const char c = static_cast<char>(hex_value(text[p + 1]) << 4 | hex_value(text[p + 2]));
            p += 3;
            if (!is_alnum(c) && std::string_view("._+-").find(c) == std::string_view::npos)
                start = p;  // "mailto%3A", "%2F": the address starts after the escape
            continue;
        }
        if (!is_local_part_char(text[p])) return false;
        ++p;
    }
    if (!sign || p == start || !is_alnum(text[start])) return false;
    // Domain labels; a dot is taken only when a label follows it.
    const size_t domain = p + sign;
    size_t end = domain, labels = 0, last_label = end;
    for (;;) {
        size_t j = end;
        if (!is_alnum(at(text, j))) break;
        while ((is_alnum(at(text, j)) || at(text, j) == '-') && j - domain < kLongestDomain) ++j;
        ++labels;
        last_label = end;
        end = j;
        if (at(text, end) != '.' || !is_alnum(at(text, end + 1)) || end - domain >= kLongestDomain) break;
        ++end;
    }
    if (labels < 2 || end - last_label < 2) return false;
    for (size_t j = last_label; j < end; ++j)
        if (!is_alpha(text[j])) return false;
    m.kept = start - i;
    m.length = end - i;
    m.kind = "email";
    m.key = decoded(text.substr(start, p - start)) + "@" + lowered(text.substr(domain, end - domain));
    return true;
}

bool match_mac(std::string_view text, size_t i, ValueMatch& m) {
    if (!is_hex(text[i]) || !starts_value(text, i, ":-.")) return false;
    if (at(text, i + 4) == '.') return match_cisco_mac(text, i, m);
    const char separator = at(text, i + 2);
    if (separator != ':' && separator != '-') return false;
    std::vector<uint8_t> bytes;
    const size_t length = hex_pairs(text, i, separator, 20, bytes);
    const char next = at(text, i + length);
    if (length == 0 || is_alnum(next) || (next == separator && is_hex(at(text, i + length + 1))))
        return false;
    // A DHCPv6 client DUID of type 1 (type, hardware, time, address) or 3 (type, hardware, address).
    const bool duid = (bytes.size() == 14 && bytes[0] == 0 && bytes[1] == 1) ||
                      (bytes.size() == 10 && bytes[0] == 0 && bytes[1] == 3);
    if (bytes.size() != 6 && !duid) return false;
    m.length = length;
    m.kept = (bytes.size() - 6) * 3;
    found_mac(bytes.data() + bytes.size() - 6, m);
    return true;
}

bool match_ipv6(std::string_view text, size_t i, ValueMatch& m) {
    const bool starts_with_gap = text[i] == ':' && at(text, i + 1) == ':';
    if (!is_hex(text[i]) && !starts_with_gap) return false;
    if (!starts_value(text, i, ":.")) return false;
    size_t end = i;
    int colons = 0;
    while (end < text.size() && end - i <= kLongestIpv6Run &&
           (is_hex(text[end]) || text[end] == ':' || text[end] == '.'))
        colons += text[end++] == ':';
    if (colons < 2 || end - i > kLongestIpv6Run || is_alnum(at(text, end))) return false;
    std::array<uint8_t, 16> b{};
    if (const size_t before_port = address_before_port(text.substr(i, end - i));
        before_port && parse_ipv6(text.substr(i, before_port), b)) {
        m.length = before_port;
        found_ipv6(b, m);
        return true;
    }
    // Punctuation after an address ("fe80::1:", "2001:db8::7.") is not part of it.
    for (size_t len = end - i; len >= 2; --len) {
        if (parse_ipv6(text.substr(i, len), b)) {
            m.length = len;
            found_ipv6(b, m);
            return true;
        }
        const char last = text[i + len - 1];
        if (last != ':' && last != '.') return false;
    }
    return false;
}

bool match_ipv4(std::string_view text, size_t i, ValueMatch& m) {
    if (!is_digit(text[i])) return false;
    const char before = i > 0 ? text[i - 1] : ' ';
    if (is_digit(before) || before == '.') return false;
    if (after_cloud_prefix(text, i) && match_ipv4_with(text, i, '-', m)) return true;
    // A letter before is allowed: "srv10.1.2.3" is an address glued to a name.
    return match_ipv4_with(text, i, '.', m);
}
