#pragma once

#include <string>

// The text as one word of a POSIX shell's command line, whatever it holds.
inline std::string shell_quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
