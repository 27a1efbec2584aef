#include <windows.h>

#include "sys/folder_rights.h"
#include "sys/win/current_user.h"
#include "sys/win/wide_text.h"

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h(h) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h; }
    bool valid() const { return h != INVALID_HANDLE_VALUE; }
    bool close() {
        const HANDLE closing = h;
        h = INVALID_HANDLE_VALUE;
        return closing == INVALID_HANDLE_VALUE || CloseHandle(closing);
    }

private:
    HANDLE h;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Deeper than any folder the test leaves behind; bounds the descent through a hostile tree.
constexpr int kDepthLimit = 32;

// Deletes exactly the object behind the handle, whatever now stands at its name.
bool delete_by_handle(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
}

// Removes what a folder holds: links and junctions go as entries, never followed. The folder is read
// through the handle held on it: listing it by name again (FindFirstFileW) opens it a second time, which
// the handle's delete access makes a sharing violation on some systems, and it could be another folder
// by then.
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
                    Handle inner(CreateFileW(
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

bool write_all(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, left > 1u << 30 ? 1u << 30 : static_cast<DWORD>(left),
                       &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

}  // namespace

FolderRightsOutcome test_folder_rights(const std::string& parent, const std::string& folder_name,
                                       const std::string& file_name, const std::string& content) {
    FolderRightsOutcome outcome;
    outcome.file_delete_error = ERROR_FILE_NOT_FOUND;  // until the file is made there is nothing to delete
    const std::wstring folder_path = widen(parent) + L"\\" + widen(folder_name);
    if (!CreateDirectoryW(folder_path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        outcome.folder_delete_error = GetLastError();
        return outcome;
    }
    // Opened by name again, the folder may be a link or another user's, planted or swapped in; the
    // handle keeps this very folder for the checks and the final delete.
    Handle folder(CreateFileW(
        folder_path.c_str(), DELETE | READ_CONTROL | FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY, kShareAll,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder.valid()) {
        outcome.folder_delete_error = GetLastError();
        return outcome;
    }
    BY_HANDLE_FILE_INFORMATION made{};
    if (!GetFileInformationByHandle(folder.get(), &made) ||
        (made.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (made.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || !owned_by_current_user(folder.get())) {
        outcome.folder_delete_error = ERROR_ACCESS_DENIED;
        return outcome;
    }
    outcome.folder_created = true;

    const std::wstring file_path = folder_path + L"\\" + widen(file_name);
    DeleteFileW(file_path.c_str());  // an earlier run's
    Handle file(CreateFileW(file_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file.valid()) {
        const bool written = write_all(file.get(), content);
        outcome.file_written = file.close() && written;
        outcome.file_deleted = DeleteFileW(file_path.c_str());
        outcome.file_delete_error = outcome.file_deleted ? 0 : static_cast<int>(GetLastError());
    } else {
        outcome.file_delete_error = GetLastError();
    }

    const bool emptied = remove_contents(folder.get(), folder_path, 0);
    if (delete_by_handle(folder.get()) && folder.close()) {
        outcome.folder_deleted = true;
    } else {
        outcome.folder_delete_error = emptied ? static_cast<int>(GetLastError()) : ERROR_DIR_NOT_EMPTY;
    }
    return outcome;
}
