// The diagnosis end to end: the engine (or checktool-cli) against the product lab on loopback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "build_config.h"
#include "engine/CCheckHost.h"
#include "engine/diagnosis_run.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"
#include "tests/engine/recording_run_events.h"

using ::testing::HasSubstr;

namespace {

// Loads the lab's check list and runs it to its end; the host stays available for assertions.
struct LabRun {
    CCheckHost host;
    RecordingRunEvents events;
    std::string failure;

    bool run() {
        DiagnosisRun diagnosis(host, events);
        if (!diagnosis.start()) return false;
        diagnosis.wait();
        rows = diagnosis.rows();
        return diagnosis.completed();
    }
    std::vector<RunRow> rows;
};

}  // namespace

TEST(CheckListLoading, SessionGroupFromThreeEntriesAndAStringWhereAnArrayBelongs) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(lab_check_list(
        R"("session": ["relay.example:7002", "bare.example", "https://secure.example"], "web": "http://w.example")"))))
        << lab.error();
    CCheckHost host;
    std::string failure;
    ASSERT_TRUE(load_from_lab(host, lab, failure)) << failure;
    ASSERT_EQ(host.check_groups.size(), 2u) << "account and session; the web string adds no group";
    ASSERT_EQ(host.check_groups[1].size(), 2u);
    EXPECT_EQ(host.check_groups[1][0].port, 7002);
    EXPECT_EQ(host.check_groups[1][1].host, "https://secure.example");
    EXPECT_EQ(host.check_groups[1][1].port, 443);
    EXPECT_EQ(host.caption(), "Quenmora Lab Check Tool (ver. " CHECKTOOL_VERSION ")");

    ASSERT_TRUE(lab.stop());
    const auto& requests = lab.record()["http"];
    ASSERT_EQ(requests.Size(), 1u);
    EXPECT_STREQ(requests[0]["method"].GetString(), "GET");
    EXPECT_STREQ(requests[0]["path"].GetString(), "/download/checklist.json");
    EXPECT_STREQ(requests[0]["server"].GetString(), "web_https");
}

TEST(CheckListLoading, UnusableListsGiveTheirMessages) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(R"({"web": {"https_port": 0, "checklist": "{not json"}})")) << lab.error();
    CCheckHost host;
    std::string failure;
    EXPECT_FALSE(load_from_lab(host, lab, failure));
    EXPECT_EQ(failure, "checklist.json 파일이 올바른 json 형태가 아닙니다.");

    host.profile.web_host = "127.0.0.1";
    host.profile.web_port = lab.port("web_https");
    ASSERT_TRUE(lab.stop());
    EXPECT_FALSE(host.load_check_list(failure)) << "nothing listens any more";
    EXPECT_EQ(failure, "서버에서 checklist.json 파일을 불러올 수 없습니다.\n(error = 12029)");
}

TEST(CheckListLoading, NotFoundOnPort80ThenLoadedOverHttpsOn443) {
    if (!running_as_root()) GTEST_SKIP() << "binding ports 80 and 443 needs root";
    ProductLab lab;
    if (!lab.start(R"({"web": {"http_port": 80, "https_port": 443, "http_status": 404, "checklist": )" +
                   lab_check_list("") + "}}"))
        GTEST_SKIP() << "ports 80/443 are taken here: " << lab.error();
    CCheckHost host;
    host.set_default_product();
    host.profile.web_host = "127.0.0.1";
    host.profile.web_port = 80;
    std::string failure;
    ASSERT_TRUE(host.load_check_list(failure)) << failure;
    ASSERT_TRUE(lab.stop());
    const auto& requests = lab.record()["http"];
    ASSERT_EQ(requests.Size(), 2u);
    EXPECT_STREQ(requests[0]["server"].GetString(), "web_http");
    EXPECT_STREQ(requests[1]["server"].GetString(), "web_https");
}

TEST(DiagnosisRun, NoServerMembersRunsTheAccountCheckOnly) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(lab_check_list("")))) << lab.error();
    LabRun r;
    ASSERT_TRUE(load_from_lab(r.host, lab, r.failure)) << r.failure;
    r.host.user_privilege = [] { return 2; };
    ASSERT_TRUE(r.run());
    ASSERT_EQ(r.events.log_rows.size(), 1u);
    EXPECT_THAT(r.events.log_rows[0], HasSubstr("|관리자 계정||0ms|Ok|"));
    EXPECT_THAT(r.events.events, ::testing::ElementsAre("run started, 1 groups", "check 0.0 started", "check 0.0 Ok",
                                                        "group 0 passed", "run completed"));
}

TEST(DiagnosisRun, StopDuringTheSecondItemOfAThreeItemRelayGroup) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(
        lab_check_list(R"("session": ["127.0.0.1:{relay}", "127.0.0.1:{relay}", "127.0.0.1:{relay}"],
                          "web": ["127.0.0.1:{web}"])"),
        R"("relays": [{"name": "relay", "port": "low"}], "http": [{"name": "web", "steps": [{"status": 200}]}])")))
        << lab.error();
    struct StoppingEvents : RecordingRunEvents {
        DiagnosisRun* run = nullptr;
        void check_started(const RunRow& check) override {
            RecordingRunEvents::check_started(check);
            if (check.number == 2) run->request_stop();  // the session group's second item
        }
    } events;
    CCheckHost host;
    std::string failure;
    ASSERT_TRUE(load_from_lab(host, lab, failure)) << failure;
    host.user_privilege = [] { return 2; };
    DiagnosisRun run(host, events);
    events.run = &run;
    ASSERT_TRUE(run.start());
    run.wait();

    EXPECT_FALSE(run.completed());
    ASSERT_TRUE(events.end && events.end->cancelled);
    EXPECT_EQ(events.end->cancelled->group_index, 1);
    EXPECT_EQ(events.end->cancelled->item_index, 1);
    EXPECT_EQ(events.events.back(), "run stopped") << "the web group never starts";
    ASSERT_EQ(events.log_rows.size(), 3u);
    EXPECT_THAT(events.log_rows[2], HasSubstr("|Fail|90001"));
    ASSERT_TRUE(lab.stop());
    EXPECT_EQ(lab.record()["relay"].Size(), 20u) << "the stopped item was still checked to its end";
}

TEST(ServerChecks, RelaysGatewaysAndThePlainConnectionTest) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(
        lab_scenario(lab_check_list(R"("session": ["127.0.0.1:{fifth_wrong}", "127.0.0.1:{echo}"],
                          "gateway": ["127.0.0.1:{gateway}"])"),
                     R"("relays": [{"name": "fifth_wrong", "port": "low", "replies_by_try": {"5": 300}},
                      {"name": "echo", "port": "low", "reply": 300}, {"name": "gateway", "port": "low"}])")))
        << lab.error();
    size_t log_offset = 0;
    log_since(log_offset);
    LabRun r;
    ASSERT_TRUE(load_from_lab(r.host, lab, r.failure)) << r.failure;
    r.host.user_privilege = [] { return 2; };
    ASSERT_TRUE(r.run());
    ASSERT_EQ(r.rows.size(), 4u);
    // Groups follow the kinds' order: gateway before session.
    EXPECT_EQ(r.rows[1].item.name, "중계 서버");
    EXPECT_EQ(r.rows[1].record.result, RESULT_OK);
    EXPECT_EQ(r.rows[2].record.result, RESULT_OK) << "only the last of the ten tries counts";
    EXPECT_EQ(r.rows[3].record.result, RESULT_BAD_REPLY);
    EXPECT_THAT(r.rows[3].record.detail, HasSubstr("(command : 300)"));
    EXPECT_EQ(r.events.events.back(), "run completed");
    EXPECT_EQ(r.events.events.end()[-2], "group 2 failed");

    ASSERT_TRUE(lab.stop());
    int gateway_commands = 0, gateway_tries = 0;
    for (const auto& connection : lab.record()["relay"].GetArray()) {
        EXPECT_EQ(connection["exponent"].GetInt(), 17);
        if (std::string(connection["server"].GetString()) != "gateway") continue;
        ++gateway_tries;
        gateway_commands += connection["commands"].Size();
    }
    EXPECT_EQ(gateway_tries, 10);
    EXPECT_EQ(gateway_commands, 0) << "a gateway never gets the start command";
    const std::string log = log_since(log_offset);
    EXPECT_EQ(count_of(log, "][883] 중계 서버 connect() ok."), 10);
    EXPECT_EQ(count_of(log, "][910] send NMS_C_START"), 20);
    EXPECT_EQ(count_of(log, "][928] recv NMS_C_START_OK"), 9);
    EXPECT_EQ(count_of(log, "][713][info] 세션 서버(127****1:"), 2);
}

TEST(ServerChecks, PlainConnectionTestAboveTheRelayPortLimit) {
    // A listener on a high port that accepts and says nothing: the plain test only connects.
    ProductLab lab;
    ASSERT_TRUE(lab.start(R"({"relays": [{"name": "high", "port": 0, "behaviour": "silent"}]})"))
        << lab.error();
    const int port = lab.port("high");
    if (port <= 8000) GTEST_SKIP() << "the ephemeral port is not above 8000 here";
    ProductLab web;
    ASSERT_TRUE(web.start(
        lab_scenario(lab_check_list(R"("session": ["127.0.0.1:)" + std::to_string(port) + R"("])"))))
        << web.error();
    size_t log_offset = 0;
    log_since(log_offset);
    LabRun r;
    ASSERT_TRUE(load_from_lab(r.host, web, r.failure)) << r.failure;
    r.host.user_privilege = [] { return 2; };
    ASSERT_TRUE(r.run());
    EXPECT_EQ(r.rows[1].record.result, RESULT_OK);
    EXPECT_EQ(r.rows[1].record.detail, "socket create() ok for connection test to 127.0.0.1:" +
                                           std::to_string(port) + ". retry_count : 10/10");
    const std::string log = log_since(log_offset);
    EXPECT_EQ(count_of(log, "127****1:" + std::to_string(port) + " checking... retry_count : "), 10);
    EXPECT_EQ(count_of(log, "connect() ok"), 0) << "the plain test writes no further lines";
    EXPECT_EQ(count_of(log, "NMS_C_START"), 0);
}

TEST(ServerChecks, HttpEarlyStopAndTheLastTryDeciding) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(
        lab_scenario(lab_check_list(R"("api": ["127.0.0.1:{not_found}"], "web": ["127.0.0.1:{nine_then_500}"],
                          "update": ["127.0.0.1:{no_status}"])"),
                     R"("http": [{"name": "not_found", "steps": [{"status": 404}, {"status": 200}]},
                    {"name": "nine_then_500", "steps": [{"status": 200, "repeat": 9}, {"status": 500}]},
                    {"name": "no_status", "steps": [{"raw": "garbage\r\n\r\n"}]}])")))
        << lab.error();
    LabRun r;
    ASSERT_TRUE(load_from_lab(r.host, lab, r.failure)) << r.failure;
    r.host.user_privilege = [] { return 2; };
    ASSERT_TRUE(r.run());
    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.rows[1].record.result, (ResultCode{404, 0}));
    EXPECT_EQ(r.rows[1].record.elapsed_ms, 0);
    EXPECT_EQ(log_row_result(r.rows[1].record).code, "404");
#ifndef _WIN32
    // WinINet (under Wine at least) takes a reply without a status line for an HTTP/0.9 "200 OK":
    // what it gives is in tests/integration/hostile_peers_test.cpp.
    EXPECT_EQ(r.rows[2].record.result, (ResultCode{12152, 0})) << "a reply that is not HTTP is not a success";
#endif
    EXPECT_EQ(r.rows[3].record.result, (ResultCode{500, 0}));
    EXPECT_EQ(g_result_codes.message_id(404), 0);
    EXPECT_EQ(g_result_codes.message_id(500), 0);

    ASSERT_TRUE(lab.stop());
    int not_found = 0, nine = 0;
    for (const auto& request : lab.record()["http"].GetArray()) {
        const std::string server = request["server"].GetString();
        not_found += server == "not_found";
        nine += server == "nine_then_500";
        if (server != "web_https") {
            EXPECT_STREQ(request["path"].GetString(), "/");
        }
    }
    EXPECT_EQ(not_found, 1) << "a failed HTTP try ends the check";
    EXPECT_EQ(nine, 10);
}

TEST(ServerChecks, NetapiHostGetsTheApiPathOverHttpsOn443) {
    if (!running_as_root()) GTEST_SKIP() << "binding port 443 needs root";
    ProductLab lab;
    // The web server serves the check list over HTTP and, on 443, answers the API test over HTTPS.
    if (!lab.start(R"({"web": {"https_port": 443, "checklist": )" +
                   lab_check_list(R"("api": ["netapi.localhost:443"])") + "}}"))
        GTEST_SKIP() << "port 443 is taken here: " << lab.error();
    LabRun r;
    ASSERT_TRUE(load_from_lab(r.host, lab, r.failure)) << r.failure;
    r.host.user_privilege = [] { return 2; };
    r.run();
    ASSERT_TRUE(lab.stop());
    bool seen = false;
    for (const auto& request : lab.record()["http"].GetArray()) {
        if (std::string(request["path"].GetString()) == "/download/checklist.json") continue;
        EXPECT_STREQ(request["server"].GetString(), "web_https");
        EXPECT_STREQ(request["path"].GetString(), "/api/v1.0/quenmora/GetApiTest");
        EXPECT_STREQ(request["method"].GetString(), "GET");
        seen = true;
    }
    EXPECT_TRUE(seen);
}
