#include "engine/log_row.h"

#include <gtest/gtest.h>

TEST(LogRow, CellsOfAServerAndOfTheAccountCheck) {
    CCheckItem server;
    server.name = "API 서버";
    server.host = "10.20.30.40";
    server.port = 443;
    EXPECT_EQ(log_row_text(1, server, "14:07:09"), "API|14:07:09|10******40|443");
    CCheckItem account;
    account.name = "계정 권한";
    EXPECT_EQ(log_row_text(0, account, "14:07:09"), "계정|14:07:09|관리자 계정");

    RunRow row;
    row.text = log_row_text(0, account, "14:07:09");
    row.record.elapsed_ms = 301;
    EXPECT_EQ(log_row_line(row), "계정|14:07:09|관리자 계정||301ms|Ok|");

    CCheckParam failed;
    failed.result = RESULT_CONNECT;
    failed.elapsed_ms = -1;
    const LogRowResult fail = log_row_result(failed);
    EXPECT_EQ(fail.elapsed, "");
    EXPECT_EQ(fail.result, "Fail");
    EXPECT_EQ(fail.code, "90103");
}
