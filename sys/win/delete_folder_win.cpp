#include <windows.h>

#include "sys/folders.h"
#include "sys/win/folder_tree.h"
#include "sys/win/owned_handle.h"
#include "sys/win/wide_text.h"

bool delete_folder(const std::string& path) {
    if (path.empty()) return false;
    const std::wstring wide = widen(path);
    // Opened as itself: a junction or link at the path is the thing deleted, never its target.
    OwnedHandle target(CreateFileW(wide.c_str(), DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                   nullptr));
    if (!target.valid()) return false;
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!GetFileInformationByHandle(target.get(), &facts)) return false;
    const bool plain_folder = (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                              !(facts.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (plain_folder && !remove_folder_contents(target.get(), wide)) return false;
    if (facts.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    return delete_by_handle(target.get()) && target.close();
}
