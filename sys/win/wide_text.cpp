#include "sys/win/wide_text.h"

#include <windows.h>

#include <climits>

namespace {

std::wstring to_wide(const std::string& bytes, unsigned code_page) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

std::wstring widen(const std::string& utf8) {
    return to_wide(utf8, CP_UTF8);
}

std::string narrow(const std::wstring& utf16) {
    if (utf16.empty() || utf16.size() > INT_MAX) return {};
    const int size = static_cast<int>(utf16.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::string narrow(const wchar_t* utf16) {
    return utf16 ? narrow(std::wstring(utf16)) : std::string();
}

std::string utf8_from_code_page(const std::string& bytes, unsigned code_page) {
    if (code_page == CP_UTF8) return bytes;
    return narrow(to_wide(bytes, code_page));
}
