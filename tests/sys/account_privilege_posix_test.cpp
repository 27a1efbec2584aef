#include <gtest/gtest.h>
#include <unistd.h>

#include "sys/account_privilege.h"

// POSIX accounts are users or administrators; there is no guest level to report.
TEST(AccountPrivilegePosix, TheRealLookupAnswersUserOrAdministrator) {
    const int level = get_account_privilege();
    EXPECT_TRUE(level == kPrivilegeUser || level == kPrivilegeAdmin) << level;
}

TEST(AccountPrivilegePosix, ElevatedMeansAnEffectiveUidOfZero) {
    EXPECT_EQ(process_elevated(), std::optional<bool>(geteuid() == 0));
}
