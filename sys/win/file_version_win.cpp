#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "sys/exe_facts.h"
#include "sys/win/wide_text.h"

namespace {

struct LanguageAndCodePage {
    WORD language;
    WORD code_page;
};

}  // namespace

std::string get_file_version(const std::string& path, const std::string& key) {
    const std::wstring file = widen(path.empty() ? get_exe_path(true) : path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return {};

    // The strings of the first language the resource lists.
    void* translations = nullptr;
    UINT translations_size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &translations_size) ||
        translations_size < sizeof(LanguageAndCodePage)) {
        return "(null)";
    }
    const auto* first = static_cast<const LanguageAndCodePage*>(translations);
    wchar_t prefix[64];
    std::swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", first->language, first->code_page);
    const std::wstring query = prefix + widen(key);

    void* value = nullptr;
    UINT value_length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &value_length) || value == nullptr) {
        return "(null)";
    }
    return narrow(static_cast<const wchar_t*>(value));
}
