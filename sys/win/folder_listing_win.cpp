#include <windows.h>

#include "sys/folder_listing.h"
#include "sys/win/wide_text.h"

namespace {

// The runtime's listing and status calls follow every reparse point, so the kind comes from the
// listing's own record of the entry (its tag), never from opening it.
std::string named_place_kind(const WIN32_FIND_DATAW& found) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !IsReparseTagNameSurrogate(found.dwReserved0))
        return {};
    switch (found.dwReserved0) {
        case IO_REPARSE_TAG_MOUNT_POINT:
            return "junction or mount point";
        case IO_REPARSE_TAG_SYMLINK:
            return "symbolic link";
        default:
            return "link";
    }
}

}  // namespace

std::vector<FolderEntry> list_folder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::wstring pattern = widen(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        FolderEntry entry;
        entry.name = narrow(name);
        entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.reparse_point = named_place_kind(found);
        entries.push_back(std::move(entry));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}
