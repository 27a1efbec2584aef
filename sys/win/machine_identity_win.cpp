#include <windows.h>

#include "sys/machine_identity.h"
#include "sys/win/wide_text.h"
#include "sys/win/windows_release.h"

namespace {

constexpr const wchar_t* kCurrentVersionKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

std::string current_version_text(const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kCurrentVersionKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return {};
    return narrow(value);
}

unsigned long current_version_number(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kCurrentVersionKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

}  // namespace

std::string machine_host_name() {
    wchar_t name[256] = {};
    DWORD size = 256;
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) return {};
    return narrow(std::wstring(name, size));
}

std::string machine_os_name() {
    WindowsRelease release;
    release.product_name = current_version_text(L"ProductName");
    release.build = current_version_text(L"CurrentBuildNumber");
    if (release.build.empty()) release.build = current_version_text(L"CurrentBuild");
    release.display_version = current_version_text(L"DisplayVersion");
    if (release.display_version.empty()) release.display_version = current_version_text(L"ReleaseId");
    release.ubr = current_version_number(L"UBR");
    return windows_release_name(release);
}
