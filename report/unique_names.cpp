#include "report/unique_names.h"

#include "sys/ascii_text.h"

std::string UniqueNames::claim(const std::string& name) {
    if (taken.insert(ascii_lower(name)).second) return name;
    // The number goes before the extension of the last part; a leading dot starts no extension.
    const size_t part = name.find_last_of("/\\") + 1;
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot <= part) dot = name.size();
    for (int n = 2;; ++n) {
        const std::string numbered = name.substr(0, dot) + " (" + std::to_string(n) + ")" + name.substr(dot);
        if (taken.insert(ascii_lower(numbered)).second) return numbered;
    }
}
