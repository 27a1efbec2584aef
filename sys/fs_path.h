#pragma once

#include <filesystem>
#include <string>

// Core paths are UTF-8 text; std::filesystem wants them tagged as such to stay right on every platform.
inline std::filesystem::path fs_path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8_of(const std::filesystem::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
