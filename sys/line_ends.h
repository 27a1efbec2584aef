#pragma once

#include <string>

// Command output with every "\r\n" turned into "\n"; a lone "\r" stays.
inline std::string unix_line_ends(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}
