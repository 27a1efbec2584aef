#include "report/redactor.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>

#include "report/text_scan.h"
#include "report/value_spellings.h"

using namespace text_scan;

namespace {

constexpr const char* kKinds[] = {"ip", "mac", "email", "home", "host", "domain", "user", "name"};

struct NamedValue {
    std::string value;
    const char* kind;
};

// The host's full name splits into the host ("kiosk-07") and its domain ("corp.example.com"). A
// domain of one label ("lan", "home") names no company, and as a word it would eat too much.
std::vector<NamedValue> named_values(const UserIdentity& identity) {
    std::string host = identity.host_name, domain = identity.domain;
    if (const size_t dot = host.find('.'); dot != std::string::npos) {
        if (domain.empty()) domain = host.substr(dot + 1);
        host.resize(dot);
    }
    if (domain.find('.') == std::string::npos) domain.clear();
    // A full name equal to the login (as system accounts have) is the login.
    return {{identity.home, "home"},
            {host, "host"},
            {domain, "domain"},
            {identity.login, "user"},
            {identity.full_name, "name"}};
}

}  // namespace

Redactor::Redactor(const UserIdentity& identity) {
    std::vector<std::string> keys;
    for (const NamedValue& named : named_values(identity)) {
        // A one-letter value would eat every such letter standing alone.
        if (named.value.size() < 2) continue;
        const std::string key = lowered(named.value);
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
        keys.push_back(key);
        const bool names_a_kind =
            std::any_of(std::begin(kKinds), std::end(kKinds), [&](const char* kind) { return key == kind; });
        for (const std::string& spelling : spellings_of(named.value))
            literals.push_back({spelling, named.kind, key, names_a_kind});
    }
    std::stable_sort(literals.begin(), literals.end(), [](const Literal& a, const Literal& b) {
        return a.spelling.size() > b.spelling.size();
    });
    for (size_t n = 0; n < literals.size(); ++n) {
        const char first = literals[n].spelling[0];
        for (const char c :
             {lower(first), static_cast<char>(first >= 'a' && first <= 'z' ? first - 32 : first)}) {
            auto& list = literals_by_first_byte[static_cast<unsigned char>(c)];
            if (list.empty() || list.back() != n) list.push_back(static_cast<uint16_t>(n));
            may_start[static_cast<unsigned char>(c)] = true;
        }
        reach = std::max(reach, literals[n].spelling.size() + 8);
    }
    for (int c = 0; c < 256; ++c)
        if (is_alnum(static_cast<char>(c)) || c == ':') may_start[c] = true;
}

size_t Redactor::match_literal(std::string_view text, size_t i, const Literal& literal) const {
    const std::string& value = literal.spelling;
    if (!same_ignoring_case(text, i, value)) return 0;
    // A home folder ("/home/jkim") inside a longer path ("/srv/home/jkim") is not the home.
    if ((is_alnum(value[0]) || value[0] == '/') && !word_starts_at(text, i)) return 0;
    const size_t end = i + value.size();
    const char next = at(text, end);
    // "alice" is not inside "alice2"; "alice.", "alice/" and "alice-pc" end it (better a token too many).
    if (is_alnum(value.back()) && is_alnum(next)) return 0;
    if (literal.names_a_kind && next == '-' && is_digit(at(text, end + 1))) return 0;
    return value.size();
}

bool Redactor::match_at(std::string_view text, size_t i, ValueMatch& m) const {
    m.kept = 0;
    m.kind = nullptr;
    const char c = text[i];
    // Inside a word only an address glued to a name ("srv10.1.2.3") can start.
    if (is_alnum(c) && i > 0 && is_alnum(text[i - 1]) && !escape_ends_at(text, i))
        return is_digit(c) && is_alpha(text[i - 1]) && match_ipv4(text, i, m);
    if (match_email(text, i, m) || match_mac(text, i, m) || match_ipv6(text, i, m) || match_ipv4(text, i, m))
        return true;
    for (const uint16_t n : literals_by_first_byte[static_cast<unsigned char>(c)]) {
        const Literal& literal = literals[n];
        if ((m.length = match_literal(text, i, literal))) {
            m.kind = literal.kind;
            m.key = literal.key;
            return true;
        }
    }
    return false;
}

std::string Redactor::redact(std::string_view text) {
    std::string out;
    redact_part(text, 0, true, out);
    return out;
}

size_t Redactor::redact_part(std::string_view text, size_t from, bool at_end, std::string& out) {
    const size_t limit = at_end ? text.size() : (text.size() > reach ? text.size() - reach : from);
    out.reserve(out.size() + text.size() - from);
    size_t i = from, copied = from;
    ValueMatch m;
    while (i < limit) {
        if (!may_start[static_cast<unsigned char>(text[i])] || !match_at(text, i, m)) {
            ++i;
            continue;
        }
        out.append(text, copied, i + m.kept - copied);
        const std::string_view value = text.substr(i + m.kept, m.length - m.kept);
        if (m.kind)
            out += token_for(m.kind, m.key, value);
        else
            out.append(value);
        i = copied = i + m.length;
    }
    out.append(text, copied, i - copied);
    return i;
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
