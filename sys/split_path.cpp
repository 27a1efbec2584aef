#include <cstddef>

#include "sys/exe_facts.h"

namespace {

bool is_separator(char c) {
    return c == '/' || c == '\\';
}

struct PathParts {
    std::string drive, directory, name, title, extension;  // directory keeps its trailing separator
};

// The Windows path-splitting rules, with "/" accepted as well as "\": the extension starts at the last
// "." of the name, so ".profile" has an empty title.
PathParts split(const std::string& path) {
    PathParts parts;
    size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        parts.drive = path.substr(0, 2);
        start = 2;
    }
    size_t name_start = start;
    for (size_t i = start; i < path.size(); ++i)
        if (is_separator(path[i])) name_start = i + 1;
    parts.directory = path.substr(start, name_start - start);
    parts.name = path.substr(name_start);
    size_t dot = parts.name.rfind('.');
    parts.title = parts.name.substr(0, dot);
    parts.extension = dot == std::string::npos ? std::string() : parts.name.substr(dot + 1);
    return parts;
}

std::string without_trailing_separator(std::string directory) {
    // A root ("\", "/") keeps its separator.
    if (directory.size() > 1 && is_separator(directory.back())) directory.pop_back();
    return directory;
}

std::string last_component(std::string directory) {
    while (!directory.empty() && is_separator(directory.back())) directory.pop_back();
    size_t i = directory.size();
    while (i > 0 && !is_separator(directory[i - 1])) --i;
    return directory.substr(i);
}

}  // namespace

std::string split_path(const std::string& path, int part) {
    PathParts parts = split(path);
    switch (part) {
        case 0:
            return parts.drive;
        case 1:
            return parts.drive + without_trailing_separator(parts.directory);
        case 2:
            return last_component(parts.directory);
        case 3:
            return parts.title;
        case 4:
            return parts.extension;
        case 5:
            return parts.name;
        default:
            return {};
    }
}
