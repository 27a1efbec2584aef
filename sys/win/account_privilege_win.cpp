// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <lm.h>
// clang-format on

#include "sys/account_privilege.h"
#include "sys/win/net_user_privilege.h"

NetUserAnswer query_net_user(const std::wstring& user_name) {
    NetUserAnswer answer;
    LPBYTE record = nullptr;
    answer.status = NetUserGetInfo(nullptr, user_name.c_str(), 1, &record);
    if (answer.status == NERR_Success && record)
        answer.privilege = reinterpret_cast<const USER_INFO_1*>(record)->usri1_priv;
    if (record) NetApiBufferFree(record);
    return answer;
}

int account_privilege_from(const NetUserQuery& query) {
    wchar_t name[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(name, &size)) return kPrivilegeAdmin;
    const NetUserAnswer answer = query(name);
    if (answer.status != NERR_Success) return kPrivilegeAdmin;
    switch (answer.privilege) {
        case USER_PRIV_GUEST:
            return kPrivilegeGuest;
        case USER_PRIV_USER:
            return kPrivilegeUser;
        default:
            return kPrivilegeAdmin;
    }
}

int get_account_privilege() {
    return account_privilege_from(query_net_user);
}
