#include "sys/win/folder_tree.h"

#include "sys/win/owned_handle.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Deeper than a path of MAX_PATH characters can go; bounds the descent through a hostile tree.
constexpr int kDepthLimit = 128;

// The folder is read through the handle held on it: listing it by name again (FindFirstFileW) opens it
// a second time, which the handle's delete access makes a sharing violation on some systems, and it
// could be another folder by then.
bool remove_contents(HANDLE folder, const std::wstring& folder_path, int depth) {
    if (depth > kDepthLimit) return false;
    alignas(LONGLONG) unsigned char listing[16 * 1024];
    FILE_INFO_BY_HANDLE_CLASS next = FileIdBothDirectoryRestartInfo;
    bool all_gone = true;
    while (GetFileInformationByHandleEx(folder, next, listing, sizeof listing)) {
        next = FileIdBothDirectoryInfo;
        for (size_t at = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(listing + at);
            const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                const std::wstring path = folder_path + L"\\" + name;
                if (entry->FileAttributes & FILE_ATTRIBUTE_READONLY)
                    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                const bool directory = (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                const bool link = (entry->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                bool gone = false;
                if (!directory) {
                    gone = DeleteFileW(path.c_str());
                } else if (link) {
                    gone = RemoveDirectoryW(path.c_str());
                } else {
                    OwnedHandle inner(CreateFileW(
                        path.c_str(), DELETE | FILE_LIST_DIRECTORY, kShareAll, nullptr, OPEN_EXISTING,
                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
                    gone = inner.valid() && remove_contents(inner.get(), path, depth + 1) &&
                           delete_by_handle(inner.get());
                }
                all_gone = all_gone && gone;
            }
            if (entry->NextEntryOffset == 0) break;
            at += entry->NextEntryOffset;
        }
    }
    return GetLastError() == ERROR_NO_MORE_FILES && all_gone;
}

}  // namespace

bool delete_by_handle(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
}

bool remove_folder_contents(HANDLE folder, const std::wstring& folder_path) {
    return remove_contents(folder, folder_path, 0);
}
