#include <windows.h>

#include "sys/machine_identity.h"
#include "sys/win/wide_text.h"

namespace {

std::wstring current_version_value(const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name,
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

}  // namespace

std::string machine_host_name() {
    wchar_t name[256] = {};
    DWORD size = 256;
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) return {};
    return narrow(std::wstring(name, size));
}

// "Windows 10 Pro, build 19045"
std::string machine_os_name() {
    const std::wstring product = current_version_value(L"ProductName");
    const std::wstring build = current_version_value(L"CurrentBuild");
    if (product.empty()) return {};
    return narrow(product) + (build.empty() ? "" : ", build " + narrow(build));
}
