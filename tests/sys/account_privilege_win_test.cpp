// The account's privilege and full name through a fake of the network management calls: Wine answers
// them for no real account and plays no domain, so the answers of real Windows are given here.
#include <gtest/gtest.h>

#include <future>
#include <memory>

#include "sys/account_privilege.h"
#include "sys/win/net_account.h"

namespace {

constexpr unsigned long kBadNetPath = 53;  // the domain controller cannot be reached

struct FakeNetwork {
    LoggedOnUser user{0, L"kim", L"DESKTOP-1"};
    AccountRecord record{0, 1, L"김민준"};
    std::wstring asked_server, asked_user;

    NetAccountQueries queries() {
        return {[this] { return user; },
                [this](const std::wstring& server, const std::wstring& name) {
                    asked_server = server;
                    asked_user = name;
                    return record;
                }};
    }
};

}  // namespace

TEST(AccountPrivilegeWin, EachAccountIsJudgedByItsRecordOnItsLogonServer) {
    FakeNetwork local;
    for (const int level : {kPrivilegeGuest, kPrivilegeUser, kPrivilegeAdmin}) {
        local.record.privilege = level;
        EXPECT_EQ(account_privilege_from(local.queries()), level);
    }
    EXPECT_EQ(local.asked_server, L"DESKTOP-1");
    FakeNetwork domain;
    domain.user = {0, L"j.park", L"DC01"};
    EXPECT_EQ(account_privilege_from(domain.queries()), kPrivilegeUser) << "a standard domain user fails";
    EXPECT_EQ(domain.asked_server + L"\\" + domain.asked_user, L"DC01\\j.park");
}

TEST(AccountPrivilegeWin, WhatCannotBeDeterminedCountsAsAdministrator) {
    FakeNetwork away;
    away.record = {kBadNetPath, 1, L""};
    EXPECT_EQ(account_privilege_from(away.queries()), kPrivilegeAdmin) << "a server out of reach passes";
    FakeNetwork no_user;
    no_user.user.status = 5;
    EXPECT_EQ(account_privilege_from(no_user.queries()), kPrivilegeAdmin);
    EXPECT_TRUE(no_user.asked_user.empty()) << "no record is asked for without a user";
    FakeNetwork odd;
    odd.record.privilege = 7;
    EXPECT_EQ(account_privilege_from(odd.queries()), kPrivilegeAdmin);
}

TEST(AccountPrivilegeWin, AServerThatDoesNotAnswerWithinTheBoundPasses) {
    auto release = std::make_shared<std::promise<void>>();
    const std::shared_future<void> released = release->get_future().share();
    const NetAccountQueries queries{[] {
                                        return LoggedOnUser{0, L"j.park", L"DC01"};
                                    },
                                    [released](const std::wstring&, const std::wstring&) {
                                        released.wait();
                                        return AccountRecord{0, 1, L"Park, Jimin"};
                                    },
                                    std::chrono::milliseconds(50)};
    EXPECT_EQ(account_privilege_from(queries), kPrivilegeAdmin);
    EXPECT_EQ(account_full_name_from(queries, ""), "");
    release->set_value();  // the late answers end their queries' threads
}

TEST(AccountPrivilegeWin, FullNameIsTheDirectorysElseTheAccountRecords) {
    FakeNetwork workgroup;
    EXPECT_EQ(account_full_name_from(workgroup.queries(), ""), "김민준") << "no directory on a workgroup PC";
    workgroup.record.full_name.clear();
    EXPECT_EQ(account_full_name_from(workgroup.queries(), ""), "");
    FakeNetwork domain;
    domain.user = {0, L"j.park", L"DC01"};
    domain.record = {kBadNetPath, 0, L""};
    EXPECT_EQ(account_full_name_from(domain.queries(), "Park, Jimin"), "Park, Jimin");
    EXPECT_TRUE(domain.asked_server.empty()) << "the directory's name needs no second query";
}

TEST(AccountPrivilegeWin, TheRealCallsAnswerForTheRunningProcess) {
    const int level = get_account_privilege();
    EXPECT_TRUE(level >= kPrivilegeGuest && level <= kPrivilegeAdmin) << level;
    const std::optional<bool> elevated = process_elevated();
    EXPECT_TRUE(elevated.has_value()) << "the token tells its elevation";
}
