// The account's privilege through a fake of the network user call: Wine answers 0 for everyone, so
// the levels real Windows reports are given here.
#include <gtest/gtest.h>

#include "sys/account_privilege.h"
#include "sys/win/net_user_privilege.h"

namespace {

NetUserQuery answering(unsigned long status, unsigned long privilege, std::wstring* asked = nullptr) {
    return [=](const std::wstring& user) {
        if (asked) *asked = user;
        return NetUserAnswer{status, privilege};
    };
}

}  // namespace

TEST(AccountPrivilegeWin, LevelsOfTheRecordAreTakenAsTheyAre) {
    std::wstring asked;
    EXPECT_EQ(account_privilege_from(answering(0, 0, &asked)), kPrivilegeGuest);
    EXPECT_FALSE(asked.empty()) << "the running account's name is looked up";
    EXPECT_EQ(account_privilege_from(answering(0, 1)), kPrivilegeUser);
    EXPECT_EQ(account_privilege_from(answering(0, 2)), kPrivilegeAdmin);
}

TEST(AccountPrivilegeWin, WhatCannotBeDeterminedCountsAsAdministrator) {
    // NERR_UserNotFound (a domain account looked up locally) and access denied.
    EXPECT_EQ(account_privilege_from(answering(2221, 1)), kPrivilegeAdmin);
    EXPECT_EQ(account_privilege_from(answering(5, 0)), kPrivilegeAdmin);
    EXPECT_EQ(account_privilege_from(answering(0, 7)), kPrivilegeAdmin)
        << "a level that is none of the three";
}

TEST(AccountPrivilegeWin, TheRealCallAnswersForTheRunningAccount) {
    const int level = get_account_privilege();
    EXPECT_TRUE(level >= kPrivilegeGuest && level <= kPrivilegeAdmin) << level;
}
