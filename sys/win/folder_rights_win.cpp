#include <windows.h>

#include "sys/folder_rights.h"
#include "sys/win/current_user.h"
#include "sys/win/folder_tree.h"
#include "sys/win/owned_handle.h"
#include "sys/win/wide_text.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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
    OwnedHandle folder(CreateFileW(
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
    OwnedHandle file(CreateFileW(file_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file.valid()) {
        const bool written = write_all(file.get(), content);
        outcome.file_written = file.close() && written;
        outcome.file_deleted = DeleteFileW(file_path.c_str());
        outcome.file_delete_error = outcome.file_deleted ? 0 : static_cast<int>(GetLastError());
    } else {
        outcome.file_delete_error = GetLastError();
    }

    const bool emptied = remove_folder_contents(folder.get(), folder_path);
    if (delete_by_handle(folder.get()) && folder.close()) {
        outcome.folder_deleted = true;
    } else {
        outcome.folder_delete_error = emptied ? static_cast<int>(GetLastError()) : ERROR_DIR_NOT_EMPTY;
    }
    return outcome;
}
