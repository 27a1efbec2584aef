// checktool-cli's bundle flags against the product lab: checksum, redaction, bounds, a local check list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "sys/fs_path.h"
#include "sys/user_identity.h"
#include "tests/base64_decoding.h"
#include "tests/e2e/bundle_reading_support.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"
#include "tests/regex_matchers.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string kCli = std::string(CHECKTOOL_BINARY_DIR) + "/cli/checktool-cli";

std::string read_all(const std::string& path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool contains_word(const std::string& text, const std::string& word) {
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const bool starts = at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
        const size_t end = at + word.size();
        if (starts && (end == text.size() || !std::isalnum(static_cast<unsigned char>(text[end]))))
            return true;
    }
    return false;
}

}  // namespace

TEST(CheckToolCliBundle, RedactedBoundedBundleKeepsNothingPrivateAndSaysWhatStayedOut) {
    ProductLab lab;
    const std::string home = forward_slashes(lab.folder()) + "/home/plantedhome";
    const std::string logs = home + "/product/Log";
#ifdef _WIN32
    // Windows redacts its profile folder, which holds the lab's, as its programs write it: with backslashes.
    const std::string profile = forward_slashes(current_user_identity().home);
    ASSERT_EQ(home.rfind(profile, 0), 0u) << profile;
    const std::string home_named = "home-1" + home.substr(profile.size());
    std::string written_home = home;
    for (char& c : written_home)
        if (c == '/') c = '\\';
#else
    const std::string home_named = "home-1";
    const std::string written_home = home;
#endif
    ASSERT_TRUE(lab.start(lab_scenario(R"({"product title": "Quenmora Lab", "product path agent": ")" + home +
                                           R"(/product",
            "product path viewer": ")" + home +
                                           R"(/product", "agent log path": ")" + logs + R"(",
            "web": ["127.0.0.1:{web}"]})",
                                       R"("http": [{"name": "web", "steps": [{"status": 200}]}])")))
        << lab.error();
    fs::create_directories(logs);
    std::ofstream(logs + "/agent.log") << "peer 203.0.113.77 nic 0a:1b:2c:3d:4e:5f mail jiwoo@example.net\n"
                                       << "profile " << written_home << "/.config v6 2001:db8:77::1\n";
    std::ofstream(logs + "/203.0.113.77.log") << "named after the peer\n";
    std::ofstream(logs + "/core.dmp", std::ios::binary) << std::string("MDMP\0\x01\0\x02", 8);
    std::ofstream(logs + "/huge.log") << std::string(4096, 'h');
    std::ofstream(logs + "/stale.log") << "old\n";
    fs::last_write_time(logs + "/stale.log", fs::file_time_type::clock::now() - std::chrono::hours(24 * 30));

    ChildProcess cli;
    ASSERT_TRUE(
        cli.start({kCli, "--web-host", "127.0.0.1", "--web-port", std::to_string(lab.port("web_https")),
                   "--save-log", "--redact", "--since", "7", "--max-file-size", "1K", "--json"},
                  {{"HOME", home}, {"XDG_DATA_HOME", lab.folder() + "/data"}}));
    const std::string out = cli.read_rest();
    cli.wait();
    rapidjson::Document json;
    ASSERT_FALSE(json.Parse(out.c_str()).HasParseError()) << out;
    EXPECT_EQ(json["check_list_source"].GetString(),
              "web:127.0.0.1:" + std::to_string(lab.port("web_https")));
    ASSERT_TRUE(json["archive"].IsString()) << out;
    const std::string archive = json["archive"].GetString();

    // The checksum file is what sha256sum checks ("<digest>  <name>"), with the digest the JSON gives.
    const std::string digest = sha256_of_file(archive);
    EXPECT_EQ(digest, json["archive_sha256"].GetString());
    EXPECT_EQ(read_all(archive + ".sha256"), digest + "  " + utf8_of(fs_path(archive).filename()) + "\n");

    const auto& not_packed = json["not_packed"];
    ASSERT_EQ(not_packed.Size(), 2u) << out;
    std::string reasons;
    for (const auto& file : not_packed.GetArray())
        reasons += std::string(file["name"].GetString()) + ": " + file["reason"].GetString() + "\n";
    reasons = forward_slashes(reasons);
    EXPECT_THAT(reasons, HasSubstr(home_named +
                                   "/product/Log/huge.log: 4096 bytes, larger than the limit of 1024 bytes"));
    EXPECT_THAT(reasons, HasSubstr(home_named + "/product/Log/stale.log: not modified in the last 7 days"));

    // What could not be redacted went in as it was, and is named.
    const auto& unredacted = json["packed_unredacted"];
    ASSERT_EQ(unredacted.Size(), 1u) << out;
    EXPECT_EQ(forward_slashes(unredacted[0]["name"].GetString()), home_named + "/product/Log/core.dmp");
    EXPECT_STREQ(unredacted[0]["reason"].GetString(), "binary");

    ASSERT_TRUE(json["redaction_map"].IsString());
    EXPECT_EQ(json["redaction_map"].GetString(), archive + ".map.json");

    const std::string unpacked = forward_slashes(lab.folder()) + "/unpacked";
    ASSERT_TRUE(unpack_all(archive, unpacked));
    const UserIdentity me = current_user_identity();
    std::string all_text;
    for (const auto& entry : fs::recursive_directory_iterator(unpacked)) {
        const std::string name = forward_slashes(utf8_of(entry.path())).substr(unpacked.size());
        EXPECT_THAT(name, Not(HasSubstr("203.0.113.77")));
        if (!entry.is_regular_file() || entry.path().extension() == ".zip") continue;
        std::string text = read_all(utf8_of(entry.path()));
        if (name == "/systeminfo.txt") text = base64_decoded(text);
        for (const char* planted :
             {"203.0.113.77", "0a:1b:2c:3d:4e:5f", "jiwoo@example.net", "2001:db8:77::1"})
            EXPECT_THAT(text, Not(HasSubstr(planted))) << name;
        EXPECT_THAT(forward_slashes(text), Not(HasSubstr(home))) << name;
        for (const std::string& mine : {me.host_name, me.login}) {
            if (mine.size() > 1) {
                EXPECT_FALSE(contains_word(text, mine)) << name << " names " << mine;
            }
        }
        all_text += text;
    }
    EXPECT_THAT(all_text, HasSubstr("peer ip-"));
    EXPECT_THAT(forward_slashes(all_text), HasSubstr("profile " + home_named + "/.config"));
    EXPECT_TRUE(fs::exists(unpacked + "/Quenmora Lab_log.zip.d/agent.log"));
    EXPECT_FALSE(fs::exists(unpacked + "/Quenmora Lab_log.zip.d/huge.log"));
}

TEST(CheckToolCliBundle, LocalCheckListRunsWithoutAskingTheWebServer) {
    ProductLab lab;
    // The web server would serve another list; the file's is the one used, and none is fetched.
    ASSERT_TRUE(lab.start(lab_scenario(R"({"product title": "Served Over The Web"})",
                                       R"("http": [{"name": "web", "steps": [{"status": 200}]}])")))
        << lab.error();
    const std::string list = lab.folder() + "/checklist.json";
    std::ofstream(list) << lab_check_list(R"("web": ["127.0.0.1:)" + std::to_string(lab.port("web")) +
                                          R"("])");
    const std::string web_port = std::to_string(lab.port("web_https"));

    ChildProcess cli;
    ASSERT_TRUE(cli.start(
        {kCli, "--web-host", "127.0.0.1", "--web-port", web_port, "--check-list", list, "--save-log"},
        {{"XDG_DATA_HOME", lab.folder() + "/data"}}));
    std::vector<std::string> lines;
    for (std::string line; cli.read_line(line);) lines.push_back(line);
    const int status = cli.wait();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_THAT(lines[0], HasSubstr("Quenmora Lab Check Tool"));
    // Only the account check may fail (a user without administrator rights, as under Wine), and the
    // failure count and the exit status then say so.
    const bool account_failed = lines[1].find("|Fail|") != std::string::npos;
    EXPECT_EQ(status, account_failed ? 1 : 0) << lines[1];
    EXPECT_THAT(lines[3],
                regex_matchers::MatchesRegex("checks: 2, failures: " + std::to_string(account_failed)));
    EXPECT_THAT(lines[2], regex_matchers::MatchesRegex("웹\\|.*\\|Ok\\|"));
    ASSERT_THAT(lines[4], ::testing::StartsWith("archive: "));
    ASSERT_THAT(lines[5], regex_matchers::MatchesRegex("sha256: [0-9a-f]{64}"));
    const std::string digest = lines[5].substr(8);
    EXPECT_EQ(sha256_of_file(lines[4].substr(9)), digest);

    ChildProcess json_run;
    ASSERT_TRUE(json_run.start(
        {kCli, "--web-host", "127.0.0.1", "--web-port", web_port, "--check-list", list, "--json"}));
    rapidjson::Document json;
    const std::string out = json_run.read_rest();
    json_run.wait();
    ASSERT_FALSE(json.Parse(out.c_str()).HasParseError()) << out;
    EXPECT_EQ(json["check_list_source"].GetString(), "file:" + list);
    EXPECT_TRUE(json["archive_sha256"].IsNull());

    ASSERT_TRUE(lab.stop());
    for (const auto& request : lab.record()["http"].GetArray())
        EXPECT_THAT(request["path"].GetString(), Not(HasSubstr("checklist.json")));
}

TEST(CheckToolCliBundle, BadBundleFlagsAreUsageErrors) {
    for (const std::vector<std::string>& flags : std::vector<std::vector<std::string>>{
             {"--save-log", "--since", "0"},
             {"--save-log", "--since", "week"},
             {"--save-log", "--max-file-size", "12X"},
             {"--save-log", "--max-file-size"},
             {"--redact"},
             {"--since", "3"},
             {"--check-list"},
             {"--upload", "https://desk.example/b.zip"},
             {"--save-log", "--upload-ca", "desk.pem"},
             {"--save-log", "--upload", "ftp://desk.example/b.zip"},
             {"--save-log", "--upload", "https://desk.example/b.zip", "--upload-header", "x-ms-blob-type BlockBlob"},
             {"--save-log", "--upload", "https://desk.example/b.zip", "--upload-header", "Content-Length: 9"},
         }) {
        std::vector<std::string> argv = {kCli};
        argv.insert(argv.end(), flags.begin(), flags.end());
        ChildProcess cli;
        ASSERT_TRUE(cli.start(argv));
        EXPECT_EQ(cli.wait(), 64) << flags[0] << " " << flags.back();
    }
    ChildProcess missing;
    ASSERT_TRUE(missing.start({kCli, "--check-list", "/nonexistent/checklist.json"}));
    EXPECT_EQ(missing.read_rest(), "");
    EXPECT_EQ(missing.wait(), 2) << "an unusable list, as when the download fails";
}
