// A diagnosis through checktool-cli --json of a product whose servers are all hostile: every check
// ends in a failure code within its bound, and the JSON lists every check.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <chrono>
#include <string>

#include "engine/result_code.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string kCli = std::string(CHECKTOOL_BINARY_DIR) + "/cli/checktool-cli";

// The time-outs the CLI is given; the bounds below follow from them.
constexpr int kHttpTimeoutMs = 400;
constexpr int kRelayTimeoutMs = 300;
// An HTTP check stops at its first failure: one request, at most twice its time-out.
constexpr long kHttpCheckBoundMs = 2 * kHttpTimeoutMs;
// A relay check makes ten tries of at most the 2 s connection limit and four messages.
constexpr long kRelayCheckBoundMs = 10 * (2000 + 4 * kRelayTimeoutMs);
constexpr long kSlackMs = 5000;

const char* kServers =
    R"("web": ["127.0.0.1:{stream}", "127.0.0.1:{stall}", "127.0.0.1:{huge}", "127.0.0.1:{not_http}"],
    "session": ["127.0.0.1:{trickle}", "127.0.0.1:{garbage}", "127.0.0.1:{reset}"])";

const char* kHostilePeers = R"(
    "http": [
      {"name": "stream", "steps": [{"content_length": "none", "body": "x", "endless": true, "chunk_size": 256, "chunk_delay_ms": 5}]},
      {"name": "stall", "steps": [{"body": "never sent", "stall_after_head": true}]},
      {"name": "huge", "steps": [{"content_length": 1000000000, "body": "x", "endless": true, "chunk_delay_ms": 100}]},
      {"name": "not_http", "steps": [{"raw": "SSH-2.0-lab\r\n", "endless": true, "chunk_delay_ms": 50}]}],
    "relays": [
      {"name": "trickle", "port": "low", "behaviour": "trickle_key_block", "trickle_ms": 250},
      {"name": "garbage", "port": "low", "behaviour": "garbage"},
      {"name": "reset", "port": "low", "behaviour": "reset_mid_handshake"}])";

}  // namespace

TEST(HostilePeersThroughTheCli, EveryCheckFailsWithinItsBoundAndIsListed) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(lab_check_list(kServers), kHostilePeers))) << lab.error();
    ChildProcess cli;
    const auto start = Clock::now();
    ASSERT_TRUE(cli.start(
        {kCli, "--web-host", "127.0.0.1", "--web-port", std::to_string(lab.port("web_https")), "--json"},
        {{"CHECKTOOL_HTTP_TIMEOUT_MS", std::to_string(kHttpTimeoutMs)},
         {"CHECKTOOL_RELAY_TIMEOUT_MS", std::to_string(kRelayTimeoutMs)}}));
    const std::string out = cli.read_rest();
    EXPECT_EQ(cli.wait(), 1);
    const long elapsed = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    EXPECT_LE(elapsed, 4 * kHttpCheckBoundMs + 3 * kRelayCheckBoundMs + kSlackMs);

    rapidjson::Document json;
    ASSERT_FALSE(json.Parse(out.c_str()).HasParseError()) << out;
    EXPECT_TRUE(json["completed"].GetBool());
    const auto& items = json["items"];
    ASSERT_EQ(items.Size(), 8u) << "the account and all seven servers";
    const struct {
        const char* kind;
        int result;
    } expected[] = {{"session", RESULT_CONNECT.code},
                    {"session", RESULT_CONNECT.code},
                    {"session", RESULT_CONNECT.code},
                    {"web", 12002},
                    {"web", 12002},
                    {"web", 12002},
#ifdef _WIN32
                    // WinINet reads an endless answer without a status line as an HTTP/0.9 body
                    // that runs into the time-out.
                    {"web", 12002}};
#else
                    {"web", 12152}};
#endif
    for (unsigned i = 0; i < 7; ++i) {
        const auto& item = items[i + 1];
        EXPECT_STREQ(item["kind"].GetString(), expected[i].kind) << i;
        EXPECT_EQ(item["result"].GetInt(), expected[i].result) << i << ": " << item["detail"].GetString();
        const long bound =
            expected[i].kind == std::string("web") ? kHttpCheckBoundMs : kRelayCheckBoundMs / 10;
        EXPECT_LE(item["elapsed_ms"].GetInt(), bound + kSlackMs) << i << ": the average try";
    }
    EXPECT_EQ(json["failures"].GetInt(), items[0]["result"].GetInt() == 0 ? 7 : 8);
    ASSERT_TRUE(lab.stop());
    EXPECT_EQ(lab.record()["relay"].Size(), 30u) << "ten tries of each relay, none given up early";
}
