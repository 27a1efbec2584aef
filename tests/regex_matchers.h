#pragma once

#include <gmock/gmock.h>

#include <regex>
#include <string>

// GoogleTest's own regular expressions are the system's on Linux but only a small subset on Windows
// (no brackets, braces or groups); these use the standard library's everywhere, so an expectation means
// the same on both.
namespace regex_matchers {

MATCHER_P(MatchesRegex, pattern, "") {
    return std::regex_match(std::string(arg), std::regex(std::string(pattern)));
}

MATCHER_P(ContainsRegex, pattern, "") {
    return std::regex_search(std::string(arg), std::regex(std::string(pattern)));
}

// The text as a pattern that matches exactly it (a Windows path's backslashes included).
inline std::string escaped(const std::string& text) {
    static const std::string special = R"(\^$.|?*+()[]{}/)";
    std::string out;
    for (char c : text) {
        if (special.find(c) != std::string::npos) out += '\\';
        out += c;
    }
    return out;
}

}  // namespace regex_matchers
