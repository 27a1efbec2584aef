#pragma once

#include <optional>
#include <string>
#include <vector>

// Privilege levels of an account: 0 guest, 1 user, 2 administrator.
enum AccountPrivilege { kPrivilegeGuest = 0, kPrivilegeUser = 1, kPrivilegeAdmin = 2 };

// The privilege of the account the tool runs under; 2 when it cannot be determined.
int get_account_privilege();

// Whether the tool itself runs with an administrator's rights: on Windows an elevated token (an
// administrator's account alone is not enough under UAC), elsewhere an effective uid of 0. Empty
// when the system will not say.
std::optional<bool> process_elevated();

// What the platform found out about the account, for the rule below.
struct AccountFacts {
    bool lookup_ok = false;           // false when the account or its groups could not be read
    bool superuser = false;           // runs as uid 0
    std::vector<std::string> groups;  // names of the groups the account belongs to
};

// 2 for a superuser, a member of "sudo", "wheel" or "admin", or when the lookup failed; 1 otherwise.
int privilege_from_facts(const AccountFacts& facts);
