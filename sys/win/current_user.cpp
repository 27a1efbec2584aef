#include "sys/win/current_user.h"

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

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

std::vector<unsigned char> copy_sid(PSID sid) {
    if (!sid || !IsValidSid(sid)) return {};
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return std::vector<unsigned char>(bytes, bytes + GetLengthSid(sid));
}

}  // namespace

std::vector<unsigned char> default_owner_sid() {
    const std::vector<unsigned char> owner = token_information(TokenOwner);
    if (owner.empty()) return {};
    return copy_sid(reinterpret_cast<const TOKEN_OWNER*>(owner.data())->Owner);
}

bool owned_by(void* handle, const std::vector<unsigned char>& owner_sid) {
    if (owner_sid.empty()) return false;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    const bool same = owner && EqualSid(owner, const_cast<unsigned char*>(owner_sid.data()));
    LocalFree(descriptor);
    return same;
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
