// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <lm.h>
// clang-format on

#include <future>
#include <memory>
#include <thread>

#include "sys/account_privilege.h"
#include "sys/win/net_account.h"
#include "sys/win/wide_text.h"

namespace {

// The record of the user on the server that logged them on, if it answers within the bound. A late
// answer is dropped: the query's thread, left to it, ends when it comes.
AccountRecord read_record(const NetAccountQueries& queries) {
    const LoggedOnUser user = queries.logged_on_user();
    if (user.status != NERR_Success || user.name.empty()) return {};
    auto answer = std::make_shared<std::promise<AccountRecord>>();
    std::future<AccountRecord> answered = answer->get_future();
    std::thread([answer, ask = queries.account_record, user] {
        answer->set_value(ask(user.logon_server, user.name));
    }).detach();
    if (answered.wait_for(queries.answer_bound) == std::future_status::ready) return answered.get();
    AccountRecord late;
    late.status = WAIT_TIMEOUT;
    return late;
}

LoggedOnUser query_logged_on_user() {
    LoggedOnUser user;
    LPBYTE buffer = nullptr;
    user.status = NetWkstaUserGetInfo(nullptr, 1, &buffer);
    if (user.status == NERR_Success && buffer) {
        const auto* info = reinterpret_cast<const WKSTA_USER_INFO_1*>(buffer);
        if (info->wkui1_username) user.name = info->wkui1_username;
        if (info->wkui1_logon_server) user.logon_server = info->wkui1_logon_server;
    } else if (user.status == NERR_Success) {
        user.status = ERROR_INVALID_DATA;
    }
    if (buffer) NetApiBufferFree(buffer);
    return user;
}

AccountRecord query_account_record(const std::wstring& server, const std::wstring& user) {
    AccountRecord record;
    // An empty server is this computer; a named one is addressed as "\\NAME".
    const std::wstring target = server.empty() || server.rfind(L"\\\\", 0) == 0 ? server : L"\\\\" + server;
    LPBYTE buffer = nullptr;
    record.status = NetUserGetInfo(target.empty() ? nullptr : target.c_str(), user.c_str(), 2, &buffer);
    if (record.status == NERR_Success && buffer) {
        const auto* info = reinterpret_cast<const USER_INFO_2*>(buffer);
        record.privilege = info->usri2_priv;
        if (info->usri2_full_name) record.full_name = info->usri2_full_name;
    } else if (record.status == NERR_Success) {
        record.status = ERROR_INVALID_DATA;
    }
    if (buffer) NetApiBufferFree(buffer);
    return record;
}

}  // namespace

int account_privilege_from(const NetAccountQueries& queries) {
    const AccountRecord record = read_record(queries);
    if (record.status != NERR_Success) return kPrivilegeAdmin;
    switch (record.privilege) {
        case USER_PRIV_GUEST:
            return kPrivilegeGuest;
        case USER_PRIV_USER:
            return kPrivilegeUser;
        default:
            return kPrivilegeAdmin;
    }
}

std::string account_full_name_from(const NetAccountQueries& queries, const std::string& display_name) {
    if (!display_name.empty()) return display_name;
    const AccountRecord record = read_record(queries);
    return record.status == NERR_Success ? narrow(record.full_name) : std::string();
}

NetAccountQueries system_net_account_queries() {
    return {query_logged_on_user, query_account_record};
}

int get_account_privilege() {
    return account_privilege_from(system_net_account_queries());
}

std::optional<bool> process_elevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool read = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    if (!read) return std::nullopt;
    return elevation.TokenIsElevated != 0;
}
