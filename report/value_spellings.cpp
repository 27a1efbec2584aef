#include "report/value_spellings.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "report/text_scan.h"
#include "report/utf16_text.h"

namespace {

bool is_unreserved(char c) {
    return text_scan::is_alnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

std::string url_encoded(const std::string& value, std::string_view kept, const char* blank) {
    std::string out;
    for (char c : value) {
        if (is_unreserved(c) || kept.find(c) != std::string_view::npos) {
            out += c;
        } else if (c == ' ') {
            out += blank;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(c));
            out += escape;
        }
    }
    return out;
}

void put_unit_escape(unsigned unit, std::string& out) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", unit);
    out += escape;
}

// As a JSON string's content; beyond ASCII either as it is or as "\u" escapes of its UTF-16 units,
// and "/" escaped too as some writers do.
std::string json_escaped(const std::string& value, bool escape_beyond_ascii) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c == '\\' || c == '"' || (c == '/' && escape_beyond_ascii)) {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            put_unit_escape(c, out);
        } else if (c < 0x80 || !escape_beyond_ascii) {
            out += static_cast<char>(c);
        } else {
            size_t end = i;
            while (end < value.size() && static_cast<unsigned char>(value[end]) >= 0x80) ++end;
            std::string units;
            Utf16Encoder(true).encode(std::string_view(value).substr(i, end - i), units);
            for (size_t k = 0; k + 1 < units.size(); k += 2)
                put_unit_escape(
                    static_cast<unsigned char>(units[k]) << 8 | static_cast<unsigned char>(units[k + 1]),
                    out);
            i = end - 1;
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> spellings_of(const std::string& value) {
    std::vector<std::string> bases = {value};
    if (value.find('\\') != std::string::npos) {
        std::string slashes = value;
        std::replace(slashes.begin(), slashes.end(), '\\', '/');
        bases.push_back(slashes);
    }
    std::vector<std::string> spellings;
    auto add = [&](const std::string& spelling) {
        const std::string key = text_scan::lowered(spelling);
        if (std::none_of(spellings.begin(), spellings.end(),
                         [&](const std::string& known) { return text_scan::lowered(known) == key; }))
            spellings.push_back(spelling);
    };
    for (const std::string& base : bases) {
        add(base);
        add(url_encoded(base, "", "%20"));
        add(url_encoded(base, "", "+"));
        add(url_encoded(base, "/:", "%20"));
        add(json_escaped(base, false));
        add(json_escaped(base, true));
    }
    return spellings;
}
