// The upload against a real web server: nginx storing PUTs, over TLS with a private test authority.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "net/file_upload.h"
#include "tests/integration/nginx_server.h"

namespace {

std::string read_all(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(UploadToNginx, TheArchiveArrivesByteForByteOnlyWhenTheServerIsTrusted) {
    NginxServer nginx;
    ASSERT_TRUE(nginx.start()) << nginx.error();
    const std::string file = nginx.work_folder() + "/bundle.zip";
    std::string bytes(5 * 1024 * 1024 + 3, '\0');
    std::mt19937 random(7);
    for (char& byte : bytes) byte = static_cast<char>(random());
    std::ofstream(file, std::ios::binary) << bytes;

    UploadRequest request;
    request.file = file;
    request.url = "https://127.0.0.1:" + std::to_string(nginx.port()) + "/cases/4711/bundle.zip?sig=abc%2F";
    request.extra_authority_file = nginx.authority_file();
    const UploadResult result = upload_file(request);
    EXPECT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.status, 201);
    EXPECT_EQ(result.verified, "none") << "nginx says nothing of what it stored";
    EXPECT_EQ(result.bytes, static_cast<std::int64_t>(bytes.size()));
    EXPECT_TRUE(read_all(nginx.stored_file("/cases/4711/bundle.zip")) == bytes) << "not byte for byte";

    request.url = "https://127.0.0.1:" + std::to_string(nginx.port()) + "/cases/4711/untrusted.zip";
    request.extra_authority_file.clear();
    const UploadResult untrusted = upload_file(request);
    EXPECT_EQ(untrusted.failure, UploadFailure::rejected);
    EXPECT_EQ(untrusted.message,
              "the server's certificate is not trusted: The certificate authority is invalid or "
              "incorrect (error 12045)");
    EXPECT_FALSE(std::filesystem::exists(nginx.stored_file("/cases/4711/untrusted.zip")));
}
