#pragma once

#include <string>

// Case folding for names, patterns and locale texts. Only ASCII letters change, so byte offsets into
// UTF-8 text stay valid.
inline std::string ascii_lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
