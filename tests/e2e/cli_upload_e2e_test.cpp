// checktool-cli --upload against the lab's storage: a refused upload keeps the archive and says so.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>

#include "sys/fs_path.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"

using ::testing::HasSubstr;

TEST(CheckToolCliUpload, ARefusedUploadKeepsTheArchiveTellsTheServersWordsAndEndsWith4) {
    ProductLab lab;
    const std::string home = forward_slashes(lab.folder()) + "/home";
    std::filesystem::create_directories(fs_path(home));
    ASSERT_TRUE(lab.start(lab_scenario(R"({"product title": "Quenmora Lab", "product path agent": ")" + home +
                                           R"(", "product path viewer": ")" + home + R"(", "agent log path": ")" +
                                           home + R"(", "web": ["127.0.0.1:{web}"]})",
                                       R"("http": [{"name": "web", "steps": [{"status": 200}]},
            {"name": "store", "steps": [{"status": 403, "content_type": "application/xml",
             "body": "<Error><Code>AccessDenied</Code><Message>Request has expired</Message></Error>"}]}])")))
        << lab.error();
    const std::string url =
        "http://127.0.0.1:" + std::to_string(lab.port("store")) + "/cases/9/bundle.zip?sig=expired";

    ChildProcess cli;
    ASSERT_TRUE(cli.start(cli_with_stderr(lab, {"--save-log", "--json", "--upload", url}),
                          {{"HOME", home}, {"XDG_DATA_HOME", home + "/data"}, {"CHECKTOOL_STDERR", home + "/err"}}));
    const std::string out = cli.read_rest();
    EXPECT_EQ(cli.wait(), 4);
    rapidjson::Document json;
    ASSERT_FALSE(json.Parse(out.c_str()).HasParseError()) << out;
    const rapidjson::Value& upload = json["upload"];
    ASSERT_TRUE(upload.IsObject()) << out;
    EXPECT_EQ(std::string(upload["host"].GetString()), "127.0.0.1:" + std::to_string(lab.port("store")));
    EXPECT_EQ(upload["status"].GetInt(), 403);
    EXPECT_EQ(std::string(upload["verified"].GetString()), "none");
    EXPECT_EQ(std::string(upload["error"].GetString()),
              "the server refused the upload: HTTP 403: Request has expired");
    EXPECT_TRUE(std::filesystem::is_regular_file(fs_path(json["archive"].GetString())));
#ifndef _WIN32
    std::ifstream err(home + "/err");
    const std::string said((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    EXPECT_THAT(said, HasSubstr(std::string("send it to the support desk by hand: ") + json["archive"].GetString()));
#endif
}
