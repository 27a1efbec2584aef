// Every try of a check as the summary and the JSON result show it: its figures, its colours (the
// window's) and what its code means.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/result_meaning.h"
#include "engine/run_summary.h"
#include "engine/try_figures.h"
#include "report/check_colors.h"
#include "sys/error_text.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::vector<CheckTry> tries_of(std::vector<int> times) {
    std::vector<CheckTry> tries;
    for (int t : times) tries.push_back({t, RESULT_OK});
    return tries;
}

RunRow finished_row(const std::string& name, const std::string& text, CCheckParam record) {
    RunRow row;
    row.item.name = name;
    row.text = text;
    row.record = std::move(record);
    return row;
}

}  // namespace

TEST(TryFigures, MinimumMedianMaximum) {
    EXPECT_EQ(try_figures({}), std::nullopt) << "the account check makes no tries";
    EXPECT_EQ(try_figures(tries_of({7})), (TryFigures{7, 7, 7}));
    EXPECT_EQ(try_figures(tries_of({30, 10, 20})), (TryFigures{10, 20, 30})) << "in any order";
    EXPECT_EQ(try_figures(tries_of({4, 1, 2, 9})), (TryFigures{1, 3, 9})) << "2 and 4: their mean";
    EXPECT_EQ(try_figures(tries_of({1, 2})), (TryFigures{1, 2, 2})) << "1.5 rounds half up";
    EXPECT_EQ(try_figures(tries_of({2147483647, 2147483646})),
              (TryFigures{2147483646, 2147483647, 2147483647}))
        << "the two middle tries are added without overflow";
    // Failed tries count with their time like any other.
    EXPECT_EQ(try_figures({{5, RESULT_CONNECT}, {15, RESULT_OK}, {25, RESULT_CONNECT}}),
              (TryFigures{5, 15, 25}));
}

TEST(RunSummary, ChecksCarryTheWindowsCellsColoursAndEveryTry) {
    CCheckParam account = CCheckParam::for_item(0, 0);
    CCheckParam web = CCheckParam::for_item(1, 0);
    web.tries = {{40, RESULT_OK}, {120, RESULT_OK}, {9, RESULT_BAD_REPLY}};
    web.result = RESULT_BAD_REPLY;
    web.elapsed_ms = 56;
    web.detail = "reply could not be read";
    CCheckParam api = CCheckParam::for_item(2, 0);
    api.tries = {{3, {503, 0}}};
    api.result = {503, 0};
    CCheckParam fast = CCheckParam::for_item(3, 0);
    fast.tries = tries_of({50, 51});
    fast.elapsed_ms = 50;

    const std::vector<RunRow> rows = {finished_row("계정 권한", "계정|10:00:00|관리자 계정", account),
                                      finished_row("웹 서버", "웹|10:00:01|127****1|80", web),
                                      finished_row("API 서버", "API|10:00:02|127****1|81", api),
                                      finished_row("웹 서버", "웹|10:00:03|127****1|82", fast)};
    const std::vector<SummaryCheck> checks = summary_checks(rows);
    ASSERT_EQ(checks.size(), 4u);

    EXPECT_THAT(checks[0].cells, ElementsAre("계정", "10:00:00", "관리자 계정", "", "0ms", "Ok", ""));
    EXPECT_FALSE(checks[0].failed);
    EXPECT_EQ(checks[0].message, "성공");
    EXPECT_EQ(checks[0].meaning, "") << "a success needs no explanation";
    EXPECT_FALSE(checks[0].figures);
    EXPECT_TRUE(checks[0].tries.empty());

    const SummaryCheck& failed = checks[1];
    EXPECT_THAT(failed.cells, ElementsAre("웹", "10:00:01", "127****1", "80", "56ms", "Fail", "90106"));
    EXPECT_TRUE(failed.failed);
    EXPECT_EQ(failed.code, 90106);
    EXPECT_EQ(failed.name, "웹 서버");
    EXPECT_EQ(failed.row_color, kFailedCheckColor);
    EXPECT_EQ(failed.message, "서버 응답이 올바르지 않습니다.");
    EXPECT_THAT(failed.meaning, HasSubstr("proxy"));
    EXPECT_EQ(failed.detail, "reply could not be read");
    ASSERT_EQ(failed.tries.size(), 3u);
    EXPECT_EQ(failed.tries[0].color, elapsed_color(40));
    EXPECT_EQ(failed.tries[1].color, elapsed_color(120));
    EXPECT_FALSE(failed.tries[2].ok);
    EXPECT_EQ(failed.tries[2].color, kFailedCheckColor);
    EXPECT_EQ(failed.figures, (TryFigures{9, 40, 120}));

    EXPECT_EQ(checks[2].message, "HTTP status");
    EXPECT_THAT(checks[2].meaning, HasSubstr("Service unavailable"));

    EXPECT_EQ(checks[3].elapsed_color, elapsed_color(50));
    EXPECT_NE(checks[3].tries[0].color, checks[3].tries[1].color)
        << "50 ms and 51 ms fall on either side of a step";
}

TEST(RunSummary, ChecksCarryTheirConnectionFacts) {
    CCheckParam https = CCheckParam::for_item(1, 0);
    ServerCertificate certificate{"CN=web", "CN=Inspection CA", "2026-01-01T00:00:00Z", "2027-01-01T00:00:00Z",
                                  "ab12", false, "unable to get local issuer certificate"};
    https.transport = HttpTransportFacts{"http://127.0.0.1:3128", certificate};
    CCheckParam unknown_store = CCheckParam::for_item(1, 1);
    certificate.verified.reset();
    unknown_store.transport = HttpTransportFacts{"", certificate};
    CCheckParam plain = CCheckParam::for_item(1, 2);
    plain.transport = HttpTransportFacts{};
    const CCheckParam relay = CCheckParam::for_item(2, 0);

    const std::vector<SummaryCheck> checks =
        summary_checks({finished_row("웹 서버", "웹|10:00:01|127****1|443", https),
                        finished_row("웹 서버", "웹|10:00:02|127****1|443", unknown_store),
                        finished_row("웹 서버", "웹|10:00:03|127****1|80", plain),
                        finished_row("세션 서버", "세션|10:00:04|127****1|7001", relay)});
    ASSERT_TRUE(checks[0].tls);
    EXPECT_EQ(checks[0].tls->issuer, "CN=Inspection CA");
    EXPECT_EQ(checks[0].tls->valid_until, "2027-01-01T00:00:00Z");
    EXPECT_EQ(checks[0].tls->sha256_fingerprint, "ab12");
    EXPECT_EQ(checks[0].tls->verified, false);
    EXPECT_EQ(checks[0].proxy, "http://127.0.0.1:3128");
    EXPECT_EQ(checks[1].tls->verified, std::nullopt) << "a store that could not be asked is not a failure";
    EXPECT_EQ(checks[1].proxy, "") << "direct";
    EXPECT_FALSE(checks[2].tls) << "plain HTTP presents no certificate";
    EXPECT_EQ(checks[2].proxy, "");
    EXPECT_FALSE(checks[3].tls);
    EXPECT_FALSE(checks[3].proxy) << "a relay makes no HTTP request";
}

TEST(ResultMeaning, EveryKindOfCode) {
    for (const ResultCode& code :
         {RESULT_CANCELLED, RESULT_NOT_ADMIN, RESULT_NO_SERVER_INFO, RESULT_SOCKET_CREATE, RESULT_CONNECT,
          RESULT_SEND_START, RESULT_RECV_START, RESULT_BAD_REPLY, RESULT_CRYPT_INIT})
        EXPECT_NE(usual_meaning(code.code), "") << code.code;
    EXPECT_THAT(usual_meaning(RESULT_CONNECT.code), HasSubstr("firewall"));
    EXPECT_THAT(usual_meaning(407), HasSubstr("proxy"));
    EXPECT_THAT(usual_meaning(418), HasSubstr("HTTP client error"))
        << "a status without its own line gets its class";
    EXPECT_THAT(usual_meaning(599), HasSubstr("HTTP server error"));
    EXPECT_EQ(usual_meaning(12029), error_text(12029))
        << "the HTTP client's numbers as the error-code page has them";
    EXPECT_EQ(usual_meaning(0), "");
    EXPECT_EQ(usual_meaning(77777), "");

    EXPECT_EQ(result_code_message(RESULT_CONNECT.code, RESULT_CONNECT.message_id),
              "서버에 연결할 수 없습니다.");
    EXPECT_EQ(result_code_message(404, 0), "HTTP status");
    EXPECT_EQ(result_code_message(12002, 0), "HTTP client error");
    EXPECT_EQ(result_code_message(77777, 0), "");
}
