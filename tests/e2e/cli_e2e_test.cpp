// checktool-cli against the product lab: its output, its exit status and Ctrl+C.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <fstream>

#include "sys/fs_path.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"
#include "tests/regex_matchers.h"
#include "tests/report/zip_test_support.h"

using regex_matchers::MatchesRegex;
using ::testing::HasSubstr;

namespace {

const std::string kCli = std::string(CHECKTOOL_BINARY_DIR) + "/cli/checktool-cli";

std::vector<std::string> cli_args(const ProductLab& lab, std::vector<std::string> flags = {}) {
    std::vector<std::string> args = {kCli, "--web-host", "127.0.0.1", "--web-port",
                                     std::to_string(lab.port("web_https"))};
    args.insert(args.end(), flags.begin(), flags.end());
    return args;
}

const char* kTwoServers = R"("web": ["127.0.0.1:{web}"], "api": ["127.0.0.1:{api}"])";
const char* kTwoServersScript =
    R"("http": [{"name": "web", "steps": [{"status": 200}]}, {"name": "api", "steps": [{"status": 503}]}])";

}  // namespace

TEST(CheckToolCli, TextModePrintsTheCaptionOneLinePerCheckAndASummary) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(lab_check_list(kTwoServers), kTwoServersScript))) << lab.error();
    ChildProcess cli;
    ASSERT_TRUE(cli.start(cli_args(lab)));
    std::string caption, account, api, web, summary, extra;
    ASSERT_TRUE(cli.read_line(caption));
    EXPECT_THAT(caption, MatchesRegex("Quenmora Lab Check Tool \\(ver\\. [0-9.]+\\)"));
    ASSERT_TRUE(cli.read_line(account));
    EXPECT_THAT(account, MatchesRegex("계정\\|[0-9:]{8}\\|관리자 계정\\|\\|0ms\\|(Ok\\||Fail\\|90002)"));
    ASSERT_TRUE(cli.read_line(api));
    EXPECT_THAT(api, MatchesRegex("API\\|[0-9:]{8}\\|127\\*\\*\\*\\*1\\|[0-9]+\\|0ms\\|Fail\\|503"));
    ASSERT_TRUE(cli.read_line(web));
    EXPECT_THAT(web, MatchesRegex("웹\\|[0-9:]{8}\\|127\\*\\*\\*\\*1\\|[0-9]+\\|[0-9]+ms\\|Ok\\|"));
    ASSERT_TRUE(cli.read_line(summary));
    EXPECT_THAT(summary, MatchesRegex("checks: 3, failures: [12]"));
    EXPECT_FALSE(cli.read_line(extra));
    EXPECT_EQ(cli.wait(), 1);
}

TEST(CheckToolCli, JsonModePrintsOneObject) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(lab_check_list(kTwoServers), kTwoServersScript))) << lab.error();
    ChildProcess cli;
    ASSERT_TRUE(cli.start(cli_args(lab, {"--json"})));
    const std::string out = cli.read_rest();
    EXPECT_EQ(cli.wait(), 1);
    rapidjson::Document json;
    ASSERT_FALSE(json.Parse(out.c_str()).HasParseError()) << out;
    EXPECT_STREQ(json["product_title"].GetString(), "Quenmora Lab");
    EXPECT_TRUE(json["completed"].GetBool());
    EXPECT_TRUE(json["archive"].IsNull());
    const auto& items = json["items"];
    ASSERT_EQ(items.Size(), 3u);
    EXPECT_STREQ(items[0]["kind"].GetString(), "account");
    EXPECT_STREQ(items[1]["kind"].GetString(), "api");
    EXPECT_EQ(items[1]["result"].GetInt(), 503);
    EXPECT_STREQ(items[1]["message"].GetString(), "");
    EXPECT_EQ(items[1]["elapsed_ms"].GetInt(), 0);
    EXPECT_STREQ(items[2]["name"].GetString(), "웹 서버");
    EXPECT_EQ(items[2]["result"].GetInt(), 0);
    EXPECT_STREQ(items[2]["message"].GetString(), "성공");
    EXPECT_EQ(json["failures"].GetInt(), items[0]["result"].GetInt() == 0 ? 1 : 2);
    EXPECT_TRUE(json["elevated"].IsBool()) << "this system tells whether the tool runs elevated";
}

TEST(CheckToolCli, UnusableCheckListAndBadUsage) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(R"({"product title": ""})"))) << lab.error();
    ChildProcess cli;
    ASSERT_TRUE(cli.start(cli_args(lab)));
    EXPECT_EQ(cli.read_rest(), "") << "the loader's message goes to standard error";
    EXPECT_EQ(cli.wait(), 2);

    ChildProcess usage;
    ASSERT_TRUE(usage.start({kCli, "--web-port", "seventy"}));
    EXPECT_EQ(usage.wait(), 64);
}

TEST(CheckToolCli, CtrlCStopsAfterTheCurrentCheck) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine does not deliver GenerateConsoleCtrlEvent's break to the child's process group";
#endif
    ProductLab lab;
    ASSERT_TRUE(
        lab.start(lab_scenario(lab_check_list(R"("web": ["127.0.0.1:{slow}", "127.0.0.1:{slow}"])"),
                               R"("http": [{"name": "slow", "steps": [{"status": 200, "delay_ms": 50}]}])")))
        << lab.error();
    ChildProcess cli;
    ASSERT_TRUE(cli.start(cli_args(lab)));
    std::string line;
    ASSERT_TRUE(cli.read_line(line));  // the caption: the run is about to start
    ASSERT_TRUE(cli.read_line(line));  // the account row is final once the first web check started
    cli.interrupt();
    const std::string rest = cli.read_rest();
    EXPECT_EQ(cli.wait(), 130);
    EXPECT_THAT(rest, HasSubstr("|Fail|90001\n"));
    EXPECT_THAT(rest, HasSubstr("(stopped)"));
}

// Ctrl+C while the bundle is collected stops the collection within a second, with nothing of it left
// behind; before, the first one was swallowed and a second left its working files and archive.
TEST(CheckToolCli, CtrlCDuringTheCollectionStopsItAndLeavesNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine does not deliver GenerateConsoleCtrlEvent's break to the child's process group";
#endif
    ProductLab lab;
    const std::string product = forward_slashes(lab.folder()) + "/product";
    const std::string home = forward_slashes(lab.folder()) + "/home";
    ASSERT_TRUE(lab.start(lab_scenario(R"({"product title": "Quenmora Lab", "product path agent": ")" + product +
                                           R"(", "product path viewer": ")" + product + R"(", "agent log path": ")" +
                                           product + R"(/Log", "web": ["127.0.0.1:{web}"]})",
                                       R"("http": [{"name": "web", "steps": [{"status": 200}]}])")))
        << lab.error();
    // Logs that take seconds to pack: noise does not compress.
    std::filesystem::create_directories(product + "/Log");
    std::mt19937 random(5);
    std::string noise(64 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    std::ofstream(product + "/Log/trace.log", std::ios::binary) << noise;

    ChildProcess cli;
    ASSERT_TRUE(cli.start(cli_args(lab, {"--save-log"}), {{"HOME", home}, {"XDG_DATA_HOME", home + "/data"}}));
    for (std::string line; cli.read_line(line) && line.rfind("checks:", 0) != 0;) {
    }
    const auto interrupted = std::chrono::steady_clock::now();
    cli.interrupt();
    EXPECT_EQ(cli.wait(), 130);
    EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(3));
    std::vector<std::string> left;
    std::error_code not_made;  // the stop may come before the collection folder is made
    for (const auto& entry : std::filesystem::directory_iterator(home + "/data/Temp", not_made))
        left.push_back(utf8_of(entry.path()));
    EXPECT_TRUE(left.empty()) << left.front();
}

TEST(CheckToolCli, SaveLogPacksTheBundleAfterACompletedRun) {
    ProductLab lab;
    const std::string product = forward_slashes(lab.folder()) + "/product";
    const std::string home = forward_slashes(lab.folder()) + "/home";
    ASSERT_TRUE(lab.start(lab_scenario(R"({"product title": "Quenmora Lab", "product path agent": ")" +
                                           product + R"(/Agent",
            "product path viewer": ")" + product +
                                           R"(/Viewer", "agent log path": ")" + product +
                                           R"(/Agent/Log", "web": ["127.0.0.1:{web}"]})",
                                       R"("http": [{"name": "web", "steps": [{"status": 200}]}])")))
        << lab.error();
    std::filesystem::create_directories(product + "/Agent/Log");
    std::filesystem::create_directories(product + "/Viewer");
    std::ofstream(product + "/Agent/Log/agent.log") << "agent log line\n";
    std::ofstream(product + "/Viewer/viewer.bin") << "viewer";

    ChildProcess cli;
    ASSERT_TRUE(cli.start(cli_args(lab, {"--save-log", "--json"}),
                          {{"HOME", home}, {"XDG_DATA_HOME", home + "/data"}}));
    const std::string out = cli.read_rest();
    cli.wait();
    rapidjson::Document json;
    ASSERT_FALSE(json.Parse(out.c_str()).HasParseError()) << out;
    ASSERT_TRUE(json["archive"].IsString()) << out;
    const std::string archive = json["archive"].GetString();
    EXPECT_TRUE(info_zip_accepts(archive)) << archive;
    EXPECT_THAT(zipinfo_names(archive), ::testing::IsSupersetOf({"check_result.txt", "systeminfo.txt"}));
#ifdef _WIN32
    // The data folder is the Wine profile's, shared by every run: what stays there must be final.
    for (const auto& entry : std::filesystem::directory_iterator(fs_path(archive).parent_path())) {
        const std::string name = utf8_of(entry.path().filename());
        EXPECT_THAT(name, ::testing::AnyOf(::testing::EndsWith(".zip"), ::testing::EndsWith(".zip.sha256"),
                                           ::testing::EndsWith(".map.json")));
    }
#else
    EXPECT_EQ(archive.rfind(home + "/data/Temp/", 0), 0u) << archive;
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(home + "/data/Temp"))
        left.push_back(utf8_of(entry.path()));
    std::sort(left.begin(), left.end());
    EXPECT_THAT(left, ::testing::ElementsAre(archive, archive + ".sha256"))
        << "only the final archive and its checksum stay behind";
#endif
}
