#include "sys/account_privilege.h"

#include <gtest/gtest.h>

TEST(AccountPrivilege, AdministratorsByUidOrGroup) {
    EXPECT_EQ(privilege_from_facts({true, true, {}}), kPrivilegeAdmin);
    for (const char* group : {"sudo", "wheel", "admin"})
        EXPECT_EQ(privilege_from_facts({true, false, {"users", group}}), kPrivilegeAdmin) << group;
}

TEST(AccountPrivilege, OthersAreUsers) {
    EXPECT_EQ(privilege_from_facts({true, false, {}}), kPrivilegeUser);
    EXPECT_EQ(privilege_from_facts({true, false, {"users", "sudoers", "Wheel", "adm", "lpadmin"}}),
              kPrivilegeUser);
}

TEST(AccountPrivilege, FailedLookupCountsAsAdministrator) {
    EXPECT_EQ(privilege_from_facts({false, false, {}}), kPrivilegeAdmin);
}
