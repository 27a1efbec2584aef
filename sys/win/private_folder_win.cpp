// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <sddl.h>
// clang-format on

#include "sys/private_folder.h"
#include "sys/win/current_user.h"
#include "sys/win/wide_text.h"

std::string private_temp_folder(const std::string& name) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    const std::string user = current_user_sid_text();
    if (length == 0 || length > MAX_PATH || user.empty()) return {};
    std::string base = narrow(std::wstring(temp, length));
    while (base.size() > 3 && (base.back() == '\\' || base.back() == '/')) base.pop_back();
    const std::string folder = base + "\\" + name + "-" + user;
    const std::wstring wide = widen(folder);

    // Full access for the user alone, nothing inherited from the temporary folder.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const std::wstring rule = L"D:P(A;OICI;FA;;;" + widen(user) + L")";
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(rule.c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return {};
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const bool made = CreateDirectoryW(wide.c_str(), &attributes) || GetLastError() == ERROR_ALREADY_EXISTS;
    LocalFree(descriptor);
    if (!made) return {};

    // Someone else may have put something there first: only a real folder of ours will do.
    HANDLE handle =
        CreateFileW(wide.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ours = GetFileInformationByHandle(handle, &info) &&
                      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
                      owned_by_current_user(handle);
    CloseHandle(handle);
    return ours ? folder : std::string();
}
