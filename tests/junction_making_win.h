#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// Makes a new folder at `link` a junction to the folder `target` (an absolute path), as "mklink /J"
// does; false, with nothing left at `link`, where the file system cannot hold one.
inline bool make_junction(const std::wstring& link, const std::wstring& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        RemoveDirectoryW(link.c_str());
        return false;
    }
    // The mount-point form of the reparse data: tag, data length, then the offsets and lengths of the
    // two names, and the names themselves, each with a terminating zero.
    const std::wstring substitute = L"\\??\\" + target;
    const WORD substitute_bytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    const WORD print_bytes = static_cast<WORD>(target.size() * sizeof(wchar_t));
    std::vector<unsigned char> data(16 + substitute_bytes + 2 + print_bytes + 2, 0);
    const auto put = [&data](size_t at, const void* value, size_t size) {
        std::memcpy(&data[at], value, size);
    };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD data_length = static_cast<WORD>(data.size() - 8);
    const WORD print_offset = static_cast<WORD>(substitute_bytes + 2);
    put(0, &tag, 4);
    put(4, &data_length, 2);
    put(10, &substitute_bytes, 2);
    put(12, &print_offset, 2);
    put(14, &print_bytes, 2);
    put(16, substitute.data(), substitute_bytes);
    put(16 + print_offset, target.data(), print_bytes);
    DWORD returned = 0;
    const bool made = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, data.data(),
                                      static_cast<DWORD>(data.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(folder);
    if (!made) RemoveDirectoryW(link.c_str());
    return made;
}
