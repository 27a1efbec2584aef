#include <algorithm>

#include "sys/native_path.h"

std::string native_separators(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}
