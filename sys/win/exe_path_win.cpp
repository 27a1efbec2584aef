#include <windows.h>

#include <string>

#include "sys/exe_facts.h"
#include "sys/win/wide_text.h"

std::string get_exe_path(bool full) {
    // Long paths pass MAX_PATH: grow until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
    const std::string path = narrow(buffer);
    return full ? path : split_path(path, 5);
}
