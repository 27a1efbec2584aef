#include "sys/win/current_user.h"

// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
// clang-format on

#include "sys/win/wide_text.h"

namespace {

std::vector<unsigned char> token_information(TOKEN_INFORMATION_CLASS kind) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, kind, nullptr, 0, &size);
    std::vector<unsigned char> bytes(size);
    const bool ok = size > 0 && GetTokenInformation(token, kind, bytes.data(), size, &size);
    CloseHandle(token);
    return ok ? bytes : std::vector<unsigned char>();
}

}  // namespace

bool owned_by_current_user(void* handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    const std::vector<unsigned char> user = token_information(TokenUser);
    const std::vector<unsigned char> default_owner = token_information(TokenOwner);
    bool ours = false;
    if (owner && !user.empty())
        ours = EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid);
    if (owner && !ours && !default_owner.empty())
        ours = EqualSid(owner, reinterpret_cast<const TOKEN_OWNER*>(default_owner.data())->Owner);
    LocalFree(descriptor);
    return ours;
}

std::string current_user_sid_text() {
    const std::vector<unsigned char> user = token_information(TokenUser);
    if (user.empty()) return {};
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, &text)) return {};
    std::string sid = narrow(text);
    LocalFree(text);
    return sid;
}
