// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <knownfolders.h>
#include <lmcons.h>
#include <shlobj.h>
#define SECURITY_WIN32
#include <secext.h>
// clang-format on

#include "sys/machine_identity.h"
#include "sys/user_identity.h"
#include "sys/win/net_account.h"
#include "sys/win/wide_text.h"

UserIdentity current_user_identity() {
    UserIdentity identity;
    identity.host_name = machine_host_name();
    wchar_t domain[256] = {};
    DWORD domain_size = 256;
    if (GetComputerNameExW(ComputerNameDnsDomain, domain, &domain_size))
        identity.domain = narrow(std::wstring(domain, domain_size));
    wchar_t login[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    if (GetUserNameW(login, &size)) identity.login = narrow(login);
    // The directory's display name exists only in a domain; a workgroup PC keeps the full name in the
    // account's record.
    wchar_t display[512] = {};
    ULONG display_size = 512;
    const std::string display_name =
        GetUserNameExW(NameDisplay, display, &display_size) ? narrow(display) : "";
    identity.full_name = account_full_name_from(system_net_account_queries(), display_name);
    PWSTR profile = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Profile, KF_FLAG_DONT_VERIFY, nullptr, &profile))) {
        identity.home = narrow(profile);
        while (identity.home.size() > 3 && (identity.home.back() == '\\' || identity.home.back() == '/'))
            identity.home.pop_back();
    }
    CoTaskMemFree(profile);
    return identity;
}
