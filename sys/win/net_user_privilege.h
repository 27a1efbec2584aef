#pragma once

#include <functional>
#include <string>

// The account's privilege comes from the network user API (NetUserGetInfo, level 1). Wine answers 0
// for everyone, so the call sits behind this seam and tests give the answers of real Windows.
struct NetUserAnswer {
    unsigned long status = 1;     // 0 (NERR_Success) when the record was read
    unsigned long privilege = 0;  // usri1_priv: 0 guest, 1 user, 2 administrator
};
using NetUserQuery = std::function<NetUserAnswer(const std::wstring& user_name)>;

// The running account's privilege as the query reports it for the account's name; 2 when the name or
// the record cannot be read or the level is none of the three.
int account_privilege_from(const NetUserQuery& query);

// The real query.
NetUserAnswer query_net_user(const std::wstring& user_name);
