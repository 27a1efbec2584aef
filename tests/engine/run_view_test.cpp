#include "engine/run_view.h"

#include <gtest/gtest.h>

TEST(RunView, StepCaptionsForOneAndSeveralItems) {
    CheckGroup one(1), three(3);
    one[0].name = "계정 권한";
    for (auto& item : three) item.name = "세션 서버";
    EXPECT_EQ(idle_step_caption(one), "계정 권한 체크");
    EXPECT_EQ(checking_step_caption("계정 권한", 1, 1), "계정 권한 체크중");
    EXPECT_EQ(checking_step_caption("세션 서버", 2, 3), "세션 서버 체크중 (2/3)");
    EXPECT_EQ(passed_step_caption(one), "계정 권한 체크 완료");
    EXPECT_EQ(passed_step_caption(three), "세션 서버 체크 완료 (3/3)");
    EXPECT_EQ(failed_step_caption(three), "세션 서버 체크 실패 (3/3)");
    EXPECT_EQ(stopped_step_caption(three, 2), "세션 서버 체크 중지 (2/3)");
    EXPECT_EQ(stopped_step_caption(one, 1), "계정 권한 체크 중지");
}

TEST(RunView, LogRowsAndTheirCompletion) {
    CCheckItem server;
    server.name = "API 서버";
    server.host = "10.20.30.40";
    server.port = 443;
    EXPECT_EQ(log_row_text(1, server, "14:07:09"), "API|14:07:09|10******40|443");
    CCheckItem account;
    account.name = "계정 권한";
    EXPECT_EQ(log_row_text(0, account, "14:07:09"), "계정|14:07:09|관리자 계정");

    CCheckParam ok;
    ok.elapsed_ms = 50;
    EXPECT_EQ(complete_log_row(ok).elapsed_color, 0xFF007F00u);
    ok.elapsed_ms = 51;
    EXPECT_EQ(complete_log_row(ok).elapsed_color, 0xFF20A5DAu);
    ok.elapsed_ms = 300;
    EXPECT_EQ(complete_log_row(ok).elapsed_color, 0xFF507FFFu);
    ok.elapsed_ms = 301;
    const LogRowCompletion slow = complete_log_row(ok);
    EXPECT_EQ(slow.elapsed_color, 0xFF00008Bu);
    EXPECT_EQ(slow.row_color, kKeepColor);
    EXPECT_EQ(log_row_line("계정|14:07:09|관리자 계정", slow), "계정|14:07:09|관리자 계정||301ms|Ok|");

    CCheckParam failed;
    failed.result = RESULT_CONNECT;
    failed.elapsed_ms = -1;
    const LogRowCompletion fail = complete_log_row(failed);
    EXPECT_EQ(fail.elapsed, "");
    EXPECT_EQ(fail.result, "Fail");
    EXPECT_EQ(fail.code, "90103");
    EXPECT_EQ(fail.row_color, 0xFFB22222u);
}
