#include "sys/user_dirs.h"

#include <sstream>

namespace {

std::string trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

// The file is written for the shell: a double-quoted value where "\" escapes the next character.
std::string unquoted(const std::string& value) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return value;
    std::string text;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && i + 2 < value.size()) ++i;
        text += value[i];
    }
    return text;
}

}  // namespace

std::string documents_folder_from_user_dirs(const std::string& user_dirs_text, const std::string& home) {
    std::istringstream lines(user_dirs_text);
    std::string line;
    std::string found;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(lines, line)) {
        line = trimmed(line);
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = unquoted(trimmed(line.substr(key.size())));
        std::string folder;
        for (const std::string home_token : {"${HOME}", "$HOME"}) {
            if (value.compare(0, home_token.size(), home_token) == 0) {
                folder = home + value.substr(home_token.size());
                break;
            }
        }
        if (folder.empty() && !value.empty() && value[0] == '/') folder = value;
        // The last assignment wins, as when the shell reads the file.
        if (!folder.empty()) found = folder;
    }
    while (found.size() > 1 && found.back() == '/') found.pop_back();
    return found;
}
