// checktool-cli --save-log when the archive cannot be written, and with a title too long for a file name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sys/fs_path.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr int kNoArchive = 3;

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string one_server_scenario(const std::string& title) {
    return lab_scenario(
        R"({"product title": ")" + title +
            R"(", "product path agent": "/nonexistent/agent", "product path viewer": "/nonexistent/viewer",
            "agent log path": "/nonexistent/agent/Log", "web": ["127.0.0.1:{web}"]})",
        R"("http": [{"name": "web", "steps": [{"status": 200}]}])");
}

}  // namespace

TEST(CheckToolCliSaveLog, AnArchiveThatCannotBeWrittenIsToldAndEndsWithItsOwnStatus) {
#ifdef _WIN32
    GTEST_SKIP() << "the data folder is the Windows profile's: no variable points it at a blocking file";
#endif
    ProductLab lab;
    ASSERT_TRUE(lab.start(one_server_scenario("Quenmora Lab"))) << lab.error();
    const std::string blocker = lab.folder() + "/blocker";
    std::ofstream(blocker) << "a file where the data folder should be";
    const std::string errors = lab.folder() + "/stderr.txt";

    ChildProcess cli;
    ASSERT_TRUE(
        cli.start(cli_with_stderr(lab, {"--save-log"}),
                  {{"HOME", lab.folder()}, {"XDG_DATA_HOME", blocker}, {"CHECKTOOL_STDERR", errors}}));
    const std::string out = cli.read_rest();
    EXPECT_EQ(cli.wait(), kNoArchive);
    EXPECT_THAT(out, Not(HasSubstr("archive:")));
    const std::string said = read_all(errors);
    EXPECT_THAT(said, HasSubstr("no log archive: the archive " + blocker + "/Temp/Quenmora Lab_"));
    EXPECT_THAT(said, HasSubstr("\n위의 압축 파일을 생성할 수 없습니다.\n"));

    ChildProcess json;
    ASSERT_TRUE(
        json.start(cli_with_stderr(lab, {"--save-log", "--json"}),
                   {{"HOME", lab.folder()}, {"XDG_DATA_HOME", blocker}, {"CHECKTOOL_STDERR", errors}}));
    const std::string json_out = json.read_rest();
    EXPECT_EQ(json.wait(), kNoArchive) << "never \"archive\": null with a success status";
    rapidjson::Document result;
    ASSERT_FALSE(result.Parse(json_out.c_str()).HasParseError()) << json_out;
    EXPECT_TRUE(result["archive"].IsNull());
}

TEST(CheckToolCliSaveLog, ATenThousandCharacterTitleStillGivesAnArchive) {
    std::string title;
    for (int i = 0; i < 10000; ++i) title += "가";
    ProductLab lab;
    ASSERT_TRUE(lab.start(one_server_scenario(title))) << lab.error();
    const std::string home = lab.folder() + "/home";

    ChildProcess cli;
    ASSERT_TRUE(
        cli.start(cli_with_stderr(lab, {"--save-log", "--json"}),
                  {{"HOME", home}, {"XDG_DATA_HOME", home + "/data"}, {"CHECKTOOL_STDERR", "/dev/null"}}));
    const std::string out = cli.read_rest();
    const int status = cli.wait();
    EXPECT_TRUE(status == 0 || status == 1) << status;
    rapidjson::Document result;
    ASSERT_FALSE(result.Parse(out.c_str()).HasParseError()) << out.substr(0, 200);
    ASSERT_TRUE(result["archive"].IsString());
    const std::filesystem::path archive = fs_path(result["archive"].GetString());
    EXPECT_TRUE(std::filesystem::is_regular_file(archive));
    EXPECT_LE(archive.filename().native().size(), 255u) << "bytes on Linux, UTF-16 units on Windows";
#ifndef _WIN32  // there the data folder is the profile's
    EXPECT_EQ(archive.parent_path(), std::filesystem::path(home + "/data/Temp"));
#endif
}
