// Peers that try to hold the tool or drown it: every exchange with them ends in a failure within its
// bound. Time-outs are short here; the bounds scale with them.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/CCheckHost.h"
#include "engine/check_list.h"
#include "net/CHttpRequest.h"
#include "net/blastsock.h"
#include "tests/integration/lab_support.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTimeoutMs = 400;
// Room for a loaded machine on top of a bound; a peer that could hold the tool holds it for ever.
constexpr long kSlackMs = 3000;

long milliseconds_since(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

std::string http_scenario(const std::string& step) {
    return R"({"http": [{"name": "hostile", "steps": [)" + step + "]}]}";
}

std::string relay_scenario(const std::string& behaviour, const std::string& more = "") {
    return R"({"relays": [{"name": "relay", "behaviour": ")" + behaviour + "\"" + more + "}]}";
}

struct HostileWebServer {
    const char* name;
    std::string step;
    int status;
};

}  // namespace

TEST(HostileWebServers, EveryRequestFailsWithinTwiceItsTimeOut) {
    const HostileWebServer servers[] = {
        {"streams forever",
         R"({"status": 200, "content_length": "none", "body": "x", "endless": true, "chunk_size": 512, "chunk_delay_ms": 5})",
         12002},
        {"stalls after the head", R"({"status": 200, "body": "never sent", "stall_after_head": true})",
         12002},
        {"announces a huge length and trickles",
         R"({"status": 200, "content_length": 1000000000, "body": "x", "endless": true, "chunk_delay_ms": 100})",
         12002},
#ifdef _WIN32
        // WinINet reads an answer without a status line as an HTTP/0.9 body: one that never ends runs
        // into the time-out, a short one has no status.
        {"is not HTTP and never stops",
         R"({"raw": "SSH-2.0-lab\r\n", "endless": true, "chunk_delay_ms": 50})", 12002},
        {"is not HTTP", R"({"raw": "\u0000\u0001garbage"})", 0},
#else
        {"is not HTTP and never stops",
         R"({"raw": "SSH-2.0-lab\r\n", "endless": true, "chunk_delay_ms": 50})", 12152},
        {"is not HTTP", R"({"raw": "\u0000\u0001garbage"})", 12152},
#endif
    };
    for (const HostileWebServer& server : servers) {
        ProductLab lab;
        ASSERT_TRUE(lab.start(http_scenario(server.step))) << server.name << ": " << lab.error();
        CHttpRequest request("127.0.0.1", lab.port("hostile"), "", "GET", false);
        request.timeout_ms = kTimeoutMs;
        const auto start = Clock::now();
        request.Send();
        const long elapsed = milliseconds_since(start);
        EXPECT_EQ(request.status, server.status) << server.name << ": " << request.response;
        EXPECT_LE(elapsed, CHttpRequest::kTotalTimeouts * kTimeoutMs + kSlackMs) << server.name;
        EXPECT_TRUE(
            request.response.starts_with(server.status == 0 ? "HttpQueryInfo" : "HttpSendRequest failed."))
            << server.name;
        ASSERT_TRUE(lab.stop()) << server.name;
    }
}

TEST(HostileWebServers, ASteadyTrickleCountsOnlyWithinTheTotal) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(http_scenario(R"(
        {"status": 200, "body": "0123456789", "chunk_size": 1, "chunk_delay_ms": 20},
        {"status": 200, "body": "0123456789abcdefghij", "chunk_size": 1, "chunk_delay_ms": 100})")))
        << lab.error();
    CHttpRequest within("127.0.0.1", lab.port("hostile"), "", "GET", false);
    within.timeout_ms = 1000;
    within.Send();
    EXPECT_EQ(within.status, 200);
    EXPECT_EQ(within.response, "0123456789");

    CHttpRequest beyond("127.0.0.1", lab.port("hostile"), "", "GET", false);
    beyond.timeout_ms = 500;  // never idle that long, but 1.9 s in all
    beyond.Send();
    EXPECT_EQ(beyond.status, 12002) << "what arrived before the limit is not an answer";
    EXPECT_EQ(beyond.response.find("0123"), std::string::npos);
    ASSERT_TRUE(lab.stop());
}

TEST(HostileWebServers, ABodyBeyondTheLimitIsNotReadOn) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(http_scenario(R"(
        {"status": 200, "content_length": 1000000000, "body": "x", "endless": true, "chunk_delay_ms": 1000},
        {"status": 200, "content_length": "none", "body": "0123456789abcdef", "endless": true},
        {"status": 200, "body": "small enough"})")))
        << lab.error();
    for (const char* announced : {"announced", "brought"}) {
        CHttpRequest request("127.0.0.1", lab.port("hostile"), "", "GET", false);
        request.max_body_bytes = 64 * 1024;
        request.timeout_ms = 30000;
        const auto start = Clock::now();
        request.Send();
        EXPECT_EQ(request.status, 200) << announced;
        EXPECT_TRUE(request.body_too_large) << announced;
        EXPECT_EQ(request.response, "") << announced;
        EXPECT_LE(milliseconds_since(start), kSlackMs) << announced << ": refused, not waited out";
    }
    CHttpRequest small("127.0.0.1", lab.port("hostile"), "", "GET", false);
    small.max_body_bytes = 64 * 1024;
    small.Send();
    EXPECT_FALSE(small.body_too_large);
    EXPECT_EQ(small.response, "small enough");
    ASSERT_TRUE(lab.stop());
}

TEST(HostileWebServers, TheCheckListLoadEndsWithinItsBoundOrRefusesAHugeList) {
    ProductLab lab;
    const std::string filler(64 * 1024, ' ');
    ASSERT_TRUE(lab.start(http_scenario(R"(
        {"status": 200, "body": "{\"product title\": \"slow\"}", "chunk_size": 1, "chunk_delay_ms": 200, "repeat": 2},
        {"status": 200, "content_length": 5000000, "body": "{", "chunk_delay_ms": 60000},
        {"status": 200, "content_length": "none", "body": ")" +
                                        filler + R"(", "endless": true})")))
        << lab.error();
    CCheckHost host;
    host.set_default_product();
    host.profile.web_host = "http://127.0.0.1";  // the list is asked with TLS unless the host says otherwise
    host.profile.web_port = lab.port("hostile");
    host.check_list_timeout_ms = kTimeoutMs;
    std::string failure;
    const auto start = Clock::now();
    EXPECT_FALSE(host.load_check_list(failure));
    EXPECT_EQ(failure, "서버에서 checklist.json 파일을 불러올 수 없습니다.\n(error = 12002)");
    // Two attempts (the port is neither 80 nor 443, so the second asks the same port).
    EXPECT_LE(milliseconds_since(start), 2 * CHttpRequest::kTotalTimeouts * kTimeoutMs + kSlackMs);

    for (const char* too_large : {"announced", "brought"}) {
        EXPECT_FALSE(host.load_check_list(failure)) << too_large;
        EXPECT_EQ(failure, check_list_too_large_message()) << too_large;
    }
    EXPECT_EQ(failure, "checklist.json 파일이 너무 큽니다.\n(최대 4 MiB)");
    ASSERT_TRUE(lab.stop());
    EXPECT_EQ(lab.record()["http"].Size(), 4u) << "each attempt was made, the slow list was asked twice";
}

TEST(HostileRelays, EveryKeyExchangeFailsWithinItsTimeOut) {
    [[maybe_unused]] constexpr int kClosedUntold = -1;
    const struct {
        const char* behaviour;
        std::string more;
        int error;  // 0: not looked at; kClosedUntold: the channel closes, whatever number is left
    } relays[] = {
        {"trickle_key_block", R"(, "trickle_ms": 300)", 10060},
        {"garbage", "", 0},
#ifdef _WIN32
        // Wine's recv reports a reset that follows data as an orderly end and keeps no error for it.
        {"reset_mid_handshake", "", kClosedUntold},
#else
        {"reset_mid_handshake", "", 10054},
#endif
    };
    for (const auto& relay : relays) {
        ProductLab lab;
        ASSERT_TRUE(lab.start(relay_scenario(relay.behaviour, relay.more))) << lab.error();
        blastsock channel;
        ASSERT_TRUE(channel.Create());
        ASSERT_TRUE(channel.Connect("127.0.0.1", lab.port("relay")));
        ASSERT_TRUE(channel.SetTimeouts(kTimeoutMs));
        const auto start = Clock::now();
        EXPECT_FALSE(channel.CryptInit()) << relay.behaviour;
        // Sending the public key and receiving the key block: one time-out each at most.
        EXPECT_LE(milliseconds_since(start), 2 * kTimeoutMs + kSlackMs) << relay.behaviour;
        if (relay.error != 0) {
            if (relay.error != kClosedUntold) {
                EXPECT_EQ(last_socket_error(), relay.error) << relay.behaviour;
            }
            EXPECT_FALSE(channel.is_open()) << relay.behaviour << ": a failed transfer closes";
        }
        channel.Close();
        ASSERT_TRUE(lab.stop()) << relay.behaviour;
    }
}

TEST(HostileRelays, AKeyBlockTrickledWithinTheTimeOutStillCounts) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(relay_scenario("trickle_key_block", R"(, "trickle_ms": 0)"))) << lab.error();
    blastsock channel;
    ASSERT_TRUE(channel.Create());
    ASSERT_TRUE(channel.Connect("127.0.0.1", lab.port("relay")));
    ASSERT_TRUE(channel.SetTimeouts(2000));
    EXPECT_TRUE(channel.CryptInit()) << "a whole message within its time-out is fine, however it is cut up";
    std::uint16_t reply = 0;
    EXPECT_TRUE(channel.SendCommand(NMS_C_START));
    EXPECT_TRUE(channel.ReceiveCommand(reply));
    EXPECT_EQ(reply, NMS_C_START_OK);
    ASSERT_TRUE(lab.stop());
}
