#include <windows.h>

#include "sys/system_figures.h"
#include "sys/win/wide_text.h"

namespace {

bool is_drive_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "C", "C:" and "C:\" name the drive's root; other paths stand as they are, empty for the current
// folder.
std::wstring volume_path(const std::string& path) {
    if (!path.empty() && is_drive_letter(path[0]) &&
        (path.size() == 1 ||
         (path[1] == ':' && (path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/'))))))
        return widen(path.substr(0, 1) + ":\\");
    return widen(path);
}

// An optical drive counts as no space at all.
bool query_volume(const std::string& path, ULARGE_INTEGER& total, ULARGE_INTEGER& free) {
    const std::wstring wide = volume_path(path);
    const wchar_t* target = wide.empty() ? nullptr : wide.c_str();
    wchar_t root[MAX_PATH + 1] = {};
    if (GetVolumePathNameW(target ? target : L".", root, MAX_PATH) && GetDriveTypeW(root) == DRIVE_CDROM)
        return false;
    ULARGE_INTEGER available{};
    return GetDiskFreeSpaceExW(target, &available, &total, &free) != 0;
}

}  // namespace

uint64_t get_memory_status(uint64_t* total) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    const bool ok = GlobalMemoryStatusEx(&status) != 0;
    if (total) *total = ok ? status.ullTotalPhys : 0;
    return ok ? status.ullAvailPhys : 0;
}

uint64_t get_disk_free(const std::string& path) {
    ULARGE_INTEGER total{}, free{};
    return query_volume(path, total, free) ? free.QuadPart : 0;
}

uint64_t get_disk_total(const std::string& path) {
    ULARGE_INTEGER total{}, free{};
    if (path.empty()) return 0;
    return query_volume(path, total, free) ? total.QuadPart : 0;
}

std::string system_drive_root() {
    // "/" would name the current folder's drive (a USB stick, D:); the Windows folder's drive is the
    // system's.
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
    if (length >= 2 && length < MAX_PATH && folder[1] == L':') return narrow(std::wstring(folder, 2)) + "\\";
    return "C:\\";
}
