#include "temp_folder_support.h"

#include <fstream>
#include <random>
#include <sstream>

TempFolder::TempFolder() {
    std::random_device seed;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (;;) {
        std::filesystem::path candidate = base / ("checktool_sys_" + std::to_string(seed()));
        if (std::filesystem::create_directory(candidate)) {
            root = candidate.string();
            return;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

std::string TempFolder::write(const std::string& relative, const std::string& bytes) const {
    std::string path = *this / relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string TempFolder::read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}
