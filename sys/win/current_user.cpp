#include "sys/win/current_user.h"

// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
// clang-format on

#include <initializer_list>

#include "sys/win/wide_text.h"

namespace {

// The user's (TokenUser) or the default owner's (TokenOwner) identifier, copied out of the token's
// answer: the answer points into its own buffer, so it must not be used once that buffer is gone.
std::vector<unsigned char> token_sid(TOKEN_INFORMATION_CLASS kind) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, kind, nullptr, 0, &size);
    std::vector<unsigned char> answer(size);
    const bool ok = size > 0 && GetTokenInformation(token, kind, answer.data(), size, &size);
    CloseHandle(token);
    if (!ok) return {};
    PSID sid = kind == TokenUser ? reinterpret_cast<TOKEN_USER*>(answer.data())->User.Sid
                                 : reinterpret_cast<TOKEN_OWNER*>(answer.data())->Owner;
    if (!sid || !IsValidSid(sid)) return {};
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return std::vector<unsigned char>(bytes, bytes + GetLengthSid(sid));
}

}  // namespace

bool owned_by_current_user(void* handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    bool ours = false;
    for (TOKEN_INFORMATION_CLASS kind : {TokenUser, TokenOwner}) {
        std::vector<unsigned char> sid = token_sid(kind);
        ours = ours || (owner && !sid.empty() && EqualSid(owner, sid.data()));
    }
    LocalFree(descriptor);
    return ours;
}

std::string current_user_sid_text() {
    std::vector<unsigned char> user = token_sid(TokenUser);
    LPWSTR text = nullptr;
    if (user.empty() || !ConvertSidToStringSidW(user.data(), &text)) return {};
    std::string sid = narrow(text);
    LocalFree(text);
    return sid;
}
