#include "report/redactor.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_alpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool is_alnum(char c) {
    return is_digit(c) || is_alpha(c);
}
bool is_hex(char c) {
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
// Bytes of UTF-8 characters count as separators, so that "서버192.0.2.7" still gives up its address,
// and so does "_", which joins the parts of so many file names ("agent_192.0.2.7.log").
bool is_word(char c) {
    return is_alnum(c);
}
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lower(c);
    return out;
}

char at(std::string_view text, size_t i) {
    return i < text.size() ? text[i] : '\0';
}

// The four octets of a dotted address exactly filling text (1 to 3 digits each, at most 255).
bool parse_ipv4(std::string_view text, std::array<uint8_t, 4>& octets) {
    size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && at(text, i++) != '.') return false;
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
            if (!parse_ipv4(group, o)) return false;
            groups.push_back(static_cast<uint16_t>(o[0] << 8 | o[1]));
            groups.push_back(static_cast<uint16_t>(o[2] << 8 | o[3]));
            return true;
        }
        if (group.empty() || group.size() > 4) return false;
        uint16_t value = 0;
        for (char c : group) {
            if (!is_hex(c)) return false;
            value = static_cast<uint16_t>(value << 4 | (is_digit(c) ? c - '0' : lower(c) - 'a' + 10));
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

// "version : 1.0.0.1", "(ver. 10.2.0.7)": a dotted quad after such a word is a version, not an address.
bool follows_version_word(std::string_view text, size_t i) {
    size_t j = i;
    while (j > 0 && i - j < 4 && std::string_view(" \t:.=").find(text[j - 1]) != std::string_view::npos) --j;
    size_t word = j;
    while (word > 0 && is_alpha(text[word - 1])) --word;
    const std::string before = lowered(text.substr(word, j - word));
    return before == "ver" || (before.size() >= 7 && before.compare(before.size() - 7, 7, "version") == 0);
}

size_t match_ipv4(std::string_view text, size_t i, std::string& key, bool& private_value) {
    if (!is_digit(text[i]) || (i > 0 && (is_word(text[i - 1]) || text[i - 1] == '.'))) return 0;
    size_t end = i;
    while (end < text.size() && end - i < 15 && (is_digit(text[end]) || text[end] == '.')) ++end;
    // The longest dotted quad at i; what follows must not continue a number or a word.
    for (size_t len = end - i; len >= 7; --len) {
        std::array<uint8_t, 4> o{};
        if (!parse_ipv4(text.substr(i, len), o)) continue;
        const char next = at(text, i + len);
        if (is_word(next) || (next == '.' && is_digit(at(text, i + len + 1)))) return 0;
        key = ipv4_key(o);
        private_value = !ipv4_names_nobody(o) && !follows_version_word(text, i);
        return len;
    }
    return 0;
}

size_t match_mac(std::string_view text, size_t i, std::string& key, bool& private_value) {
    if (!is_hex(text[i]) || (i > 0 && (is_word(text[i - 1]) || text[i - 1] == ':' || text[i - 1] == '-')))
        return 0;
    const char separator = at(text, i + 2);
    if (separator != ':' && separator != '-') return 0;
    key.clear();
    for (int part = 0; part < 6; ++part) {
        const size_t p = i + part * 3;
        if (!is_hex(at(text, p)) || !is_hex(at(text, p + 1))) return 0;
        if (part < 5 && at(text, p + 2) != separator) return 0;
        if (part > 0) key += ':';
        key += lower(text[p]);
        key += lower(text[p + 1]);
    }
    const size_t end = i + 17;
    const char next = at(text, end);
    if (is_word(next) || ((next == ':' || next == '-') && is_hex(at(text, end + 1)))) return 0;
    private_value = key != "00:00:00:00:00:00" && key != "ff:ff:ff:ff:ff:ff";  // no card has these
    return 17;
}

size_t match_ipv6(std::string_view text, size_t i, std::string& key, bool& private_value) {
    const bool starts_with_gap = text[i] == ':' && at(text, i + 1) == ':';
    if (!is_hex(text[i]) && !starts_with_gap) return 0;
    if (i > 0 && (is_word(text[i - 1]) || text[i - 1] == ':' || text[i - 1] == '.')) return 0;
    size_t end = i;
    int colons = 0;
    while (end < text.size() && (is_hex(text[end]) || text[end] == ':' || text[end] == '.'))
        colons += text[end++] == ':';
    if (colons < 2 || is_word(at(text, end))) return 0;
    // Punctuation after an address ("fe80::1:", "2001:db8::7.") is not part of it.
    for (size_t len = end - i; len >= 2; --len) {
        std::array<uint8_t, 16> b{};
        if (!parse_ipv6(text.substr(i, len), b)) {
            const char last = text[i + len - 1];
            if (last != ':' && last != '.') return 0;
            continue;
        }
        const bool zero_head = std::all_of(b.begin(), b.begin() + 10, [](uint8_t v) { return v == 0; });
        if (zero_head && b[10] == 0xff && b[11] == 0xff) {  // an IPv4 address written the IPv6 way
            const std::array<uint8_t, 4> o = {b[12], b[13], b[14], b[15]};
            key = ipv4_key(o);
            private_value = !ipv4_names_nobody(o);
            return len;
        }
        key.clear();
        for (size_t g = 0; g < 16; g += 2) {
            char group[8];
            std::snprintf(group, sizeof group, g ? ":%x" : "%x", b[g] << 8 | b[g + 1]);
            key += group;
        }
        const bool all_zero =
            zero_head && std::all_of(b.begin() + 10, b.end() - 1, [](uint8_t v) { return v == 0; });
        private_value = !(all_zero && (b[15] == 0 || b[15] == 1));  // "::" and "::1"
        return len;
    }
    return 0;
}

bool is_local_part_char(char c) {
    return is_alnum(c) || c == '.' || c == '_' || c == '%' || c == '+' || c == '-';
}

size_t match_email(std::string_view text, size_t i, std::string& key) {
    if (!is_alnum(text[i]) || (i > 0 && is_local_part_char(text[i - 1]))) return 0;
    size_t at_sign = i;
    while (at_sign < text.size() && at_sign - i <= 64 && is_local_part_char(text[at_sign])) ++at_sign;
    if (at(text, at_sign) != '@') return 0;
    // Domain labels; a dot is taken only when a label follows it.
    size_t end = at_sign + 1, labels = 0, last_label = end;
    for (;;) {
        size_t j = end;
        if (!is_alnum(at(text, j))) break;
        while (is_alnum(at(text, j)) || at(text, j) == '-') ++j;
        ++labels;
        last_label = end;
        end = j;
        if (at(text, end) != '.' || !is_alnum(at(text, end + 1))) break;
        ++end;
    }
    if (labels < 2 || end - last_label < 2) return 0;
    for (size_t j = last_label; j < end; ++j)
        if (!is_alpha(text[j])) return 0;
    key = lowered(text.substr(i, end - i));
    return end - i;
}

bool same_ignoring_ascii_case(std::string_view text, size_t i, const std::string& value) {
    if (text.size() - i < value.size()) return false;
    for (size_t k = 0; k < value.size(); ++k)
        if (lower(text[i + k]) != lower(value[k])) return false;
    return true;
}

size_t match_literal(std::string_view text, size_t i, const std::string& value) {
    if (lower(text[i]) != lower(value[0]) || !same_ignoring_ascii_case(text, i, value)) return 0;
    // A home folder ("/home/jkim") inside a longer path ("/srv/home/jkim") is not the home.
    if (i > 0 && (is_word(value[0]) || value[0] == '/') && is_word(text[i - 1])) return 0;
    const size_t end = i + value.size();
    const char next = at(text, end);
    // "alice" is not inside "alice2"; "alice.", "alice/" and "alice-pc" end it (better a token too many).
    if (is_word(value.back()) && is_word(next)) return 0;
    return value.size();
}

}  // namespace

Redactor::Redactor(const UserIdentity& identity) {
    // A full name equal to the login (as system accounts have) is the login.
    const Literal candidates[] = {{identity.home, "home"},
                                  {identity.host_name, "host"},
                                  {identity.login, "user"},
                                  {identity.full_name, "name"}};
    for (const Literal& c : candidates) {
        // A one-letter value would eat every such letter standing alone.
        if (c.value.size() < 2) continue;
        const bool known = std::any_of(literals.begin(), literals.end(), [&](const Literal& l) {
            return lowered(l.value) == lowered(c.value);
        });
        if (!known) literals.push_back(c);
    }
    std::stable_sort(literals.begin(), literals.end(),
                     [](const Literal& a, const Literal& b) { return a.value.size() > b.value.size(); });
}

size_t Redactor::match_at(std::string_view text, size_t i, const char*& kind, std::string& key) const {
    bool private_value = true;
    size_t len = 0;
    if ((len = match_email(text, i, key))) {
        kind = "email";
    } else if ((len = match_mac(text, i, key, private_value))) {
        kind = private_value ? "mac" : nullptr;
    } else if ((len = match_ipv6(text, i, key, private_value)) ||
               (len = match_ipv4(text, i, key, private_value))) {
        kind = private_value ? "ip" : nullptr;
    } else {
        for (const Literal& literal : literals) {
            if ((len = match_literal(text, i, literal.value))) {
                kind = literal.kind;
                key = lowered(literal.value);
                break;
            }
        }
    }
    return len;
}

std::string Redactor::redact(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::string key;
    for (size_t i = 0; i < text.size();) {
        const char* kind = nullptr;
        const size_t len = match_at(text, i, kind, key);
        if (len == 0) {
            out += text[i++];
            continue;
        }
        if (kind)
            out += token_for(kind, key, text.substr(i, len));
        else
            out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

const std::string& Redactor::token_for(const char* kind, const std::string& key, std::string_view spelling) {
    const std::string id = std::string(kind) + '\n' + key;
    auto found = by_key.find(id);
    if (found == by_key.end()) {
        const std::string token = std::string(kind) + "-" + std::to_string(++counts[kind]);
        handed_out.push_back({token, std::string(spelling)});
        found = by_key.emplace(id, handed_out.size() - 1).first;
    }
    return handed_out[found->second].token;
}

std::string Redactor::map_json() const {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
    w.StartObject();
    for (const Token& t : handed_out) {
        w.Key(t.token.c_str(), static_cast<rapidjson::SizeType>(t.token.size()));
        w.String(t.value.c_str(), static_cast<rapidjson::SizeType>(t.value.size()));
    }
    w.EndObject();
    return std::string(buffer.GetString()) + "\n";
}
