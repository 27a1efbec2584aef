#pragma once

#include <chrono>
#include <functional>
#include <string>

// The account facts come from the network management API: the logged-on user and the server that
// logged them on (NetWkstaUserGetInfo, level 1), then that user's record on that server
// (NetUserGetInfo, level 2). Wine answers neither as Windows does, and a domain cannot be played
// here, so the two calls sit behind this seam and tests give the answers of real Windows.

struct LoggedOnUser {
    unsigned long status = 1;  // 0 (NERR_Success) when the user was read
    std::wstring name;
    std::wstring logon_server;  // the computer's own name for a local account
};

struct AccountRecord {
    unsigned long status = 1;     // 0 when the record was read
    unsigned long privilege = 0;  // usri2_priv: 0 guest, 1 user, 2 administrator
    std::wstring full_name;       // usri2_full_name; empty when the account has none
};

struct NetAccountQueries {
    std::function<LoggedOnUser()> logged_on_user;
    // server: as the logged-on user's record names it; the query adds the leading "\\" itself.
    std::function<AccountRecord(const std::wstring& server, const std::wstring& user)> account_record;
    // A domain controller out of reach can hold the record's query for as long as the network layer
    // waits (a minute and more): no longer than this is waited for it.
    std::chrono::milliseconds answer_bound{10000};
};

// The logged-on user's privilege as their logon server records it; 2 when either query fails, its
// answer takes longer than the bound, or the level is none of the three, so that a server out of
// reach never fails the check.
int account_privilege_from(const NetAccountQueries& queries);

// The account's full name: display_name, the directory's, when there is one (a domain account);
// else the full name in the account's record on its logon server (the local account database on a
// workgroup PC, where there is no directory).
std::string account_full_name_from(const NetAccountQueries& queries, const std::string& display_name);

// The real calls.
NetAccountQueries system_net_account_queries();
