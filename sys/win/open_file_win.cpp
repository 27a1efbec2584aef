#include <stdio.h>

#include "sys/open_file.h"
#include "sys/win/wide_text.h"

std::FILE* open_file(const std::string& path, const char* mode) {
    if (path.empty()) return nullptr;
    return _wfopen(widen(path).c_str(), widen(mode).c_str());
}
