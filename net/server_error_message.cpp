#include "net/server_error_message.h"

#include <array>
#include <utility>

#include "sys/text_convert.h"

namespace {

constexpr std::size_t kLongest = 300;

std::string unescaped(const std::string& text) {
    static constexpr std::array<std::pair<const char*, char>, 5> kEscapes = {
        {{"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}, {"&amp;", '&'}}};
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        bool replaced = false;
        for (const auto& [escape, character] : kEscapes) {
            if (text.compare(at, std::char_traits<char>::length(escape), escape) == 0) {
                out += character;
                at += std::char_traits<char>::length(escape);
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[at++];
    }
    return out;
}

// Runs of blanks and control characters become one space; none at either end.
std::string one_line(const std::string& text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

}  // namespace

std::string server_error_message(const std::string& body) {
    const std::size_t open = body.find("<Message>");
    if (open == std::string::npos) return {};
    const std::size_t start = open + 9;
    const std::size_t close = body.find("</Message>", start);
    if (close == std::string::npos) return {};
    return utf8_prefix(one_line(unescaped(body.substr(start, close - start))), kLongest);
}
