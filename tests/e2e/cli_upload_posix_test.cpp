// checktool-cli --upload to nginx over TLS, and a Ctrl+C while it waits to try again.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include "sys/fs_path.h"
#include "tests/e2e/bundle_reading_support.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"
#include "tests/integration/nginx_server.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::string read_all(const std::string& path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every file below the folder that holds the text.
std::vector<std::string> files_holding(const std::string& folder, const std::string& text) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(fs_path(folder)))
        if (entry.is_regular_file() && read_all(utf8_of(entry.path())).find(text) != std::string::npos)
            found.push_back(utf8_of(entry.path()));
    return found;
}

std::string product_with_logs(const ProductLab& lab) {
    const std::string product = forward_slashes(lab.folder()) + "/product";
    fs::create_directories(product + "/Log");
    std::ofstream(product + "/Log/agent.log") << "agent log line\n";
    return R"({"product title": "Quenmora Lab", "product path agent": ")" + product +
           R"(", "product path viewer": ")" + product + R"(", "agent log path": ")" + product +
           R"(/Log", "web": ["127.0.0.1:{web}"]})";
}

}  // namespace

TEST(CheckToolCliUpload, TheArchiveArrivesWholeAndNoCredentialIsAnywhere) {
    NginxServer nginx;
    ASSERT_TRUE(nginx.start()) << nginx.error();
    ProductLab lab;
    const std::string home = forward_slashes(lab.folder()) + "/home";
    std::filesystem::create_directories(fs_path(home));
    ASSERT_TRUE(lab.start(lab_scenario(product_with_logs(lab),
                                       R"("http": [{"name": "web", "steps": [{"status": 200}]}])")))
        << lab.error();
    const std::string token = "Tk" + std::to_string(std::random_device()()) + "x" + std::to_string(std::random_device()());
    const std::string url = "https://127.0.0.1:" + std::to_string(nginx.port()) +
                            "/cases/4711/bundle.zip?X-Amz-Signature=" + token + "&X-Amz-Expires=600";
    const std::string log_folder = std::string(CHECKTOOL_BINARY_DIR) + "/cli/Log";

    ChildProcess cli;
    ASSERT_TRUE(cli.start(cli_with_stderr(lab, {"--save-log", "--redact", "--upload", url, "--upload-ca",
                                                nginx.authority_file(), "--upload-header",
                                                "Authorization: Bearer " + token}),
                          {{"HOME", home}, {"XDG_DATA_HOME", home + "/data"}, {"CHECKTOOL_STDERR", home + "/err"}}));
    const std::string out = cli.read_rest();
    EXPECT_EQ(cli.wait(), 0) << out << read_all(home + "/err");
    const auto archive_at = out.find("archive: ");
    ASSERT_NE(archive_at, std::string::npos) << out;
    const std::string archive = out.substr(archive_at + 9, out.find('\n', archive_at) - archive_at - 9);
    EXPECT_TRUE(read_all(nginx.stored_file("/cases/4711/bundle.zip")) == read_all(archive)) << "not byte for byte";
    EXPECT_THAT(out, ::testing::ContainsRegex("upload: 127.0.0.1:[0-9]+, HTTP 201, " +
                                              std::to_string(fs::file_size(fs_path(archive))) +
                                              " bytes in [0-9.]+ s, verified: none"));

    const std::string unpacked = lab.folder() + "/unpacked";
    ASSERT_TRUE(unpack_all(archive, unpacked));
    // The process list is where the address and a header could have gone: the tool's own line is there, shown.
    EXPECT_THAT(read_all(unpacked + "/tasklist.txt"), HasSubstr("/cases/4711/bundle.zip?\xE2\x80\xA6"));
    EXPECT_THAT(read_all(unpacked + "/tasklist.txt"), HasSubstr("Authorization: \xE2\x80\xA6"));
    EXPECT_THAT(files_holding(unpacked, token), ::testing::IsEmpty());
    EXPECT_THAT(files_holding(home + "/data", token), ::testing::IsEmpty());
    EXPECT_THAT(files_holding(log_folder, token), ::testing::IsEmpty());
    EXPECT_THAT(out + read_all(home + "/err"), Not(HasSubstr(token)));
}

TEST(CheckToolCliUpload, CtrlCWhileTheUploadWaitsToTryAgainStopsItAndKeepsTheArchive) {
    ProductLab lab;
    const std::string home = forward_slashes(lab.folder()) + "/home";
    std::filesystem::create_directories(fs_path(home));
    ASSERT_TRUE(lab.start(lab_scenario(product_with_logs(lab), R"("http": [{"name": "web", "steps": [{"status": 200}]},
            {"name": "store", "steps": [{"status": 503, "headers": {"Retry-After": "50"}}]}])")))
        << lab.error();
    const std::string url = "http://127.0.0.1:" + std::to_string(lab.port("store")) + "/b.zip?sig=x";

    ChildProcess cli;
    // Standard error joins standard output, where the retry is seen.
    ASSERT_TRUE(cli.start(cli_with_stderr(lab, {"--save-log", "--upload", url}),
                          {{"HOME", home}, {"XDG_DATA_HOME", home + "/data"}, {"CHECKTOOL_STDERR", "/dev/stdout"}}));
    std::string line;
    while (cli.read_line(line) && line.rfind("upload: attempt 2 in 50 s", 0) != 0) {
    }
    ASSERT_THAT(line, HasSubstr("the last one failed: the server answered HTTP 503"));
    const auto interrupted = std::chrono::steady_clock::now();
    cli.interrupt();
    const std::string rest = cli.read_rest();
    EXPECT_EQ(cli.wait(), 130);
    EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(2));
    const auto stopped_at = rest.find("upload stopped; the archive stays: ");
    ASSERT_NE(stopped_at, std::string::npos) << rest;
    const std::string archive = rest.substr(stopped_at + 35, rest.find('\n', stopped_at) - stopped_at - 35);
    EXPECT_TRUE(fs::is_regular_file(fs_path(archive))) << archive;
}
