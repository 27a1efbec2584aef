// A check list read from a local file instead of the web server.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/CCheckHost.h"
#include "engine/check_list.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;

TEST(CheckListFile, ReadsAndValidatesLikeADownload) {
    ScratchFolder dir;
    write_file_bytes(dir / "checklist.json",
                     R"({"product title": "Quenmora Lab", "product path agent": "/opt/a",
        "product path viewer": "/opt/v", "agent log path": "/opt/a/Log", "web": ["127.0.0.1:8080", "bare"]})");
    CCheckHost host;
    std::string failure;
    ASSERT_TRUE(load_check_list_file(host, dir / "checklist.json", failure)) << failure;
    EXPECT_EQ(host.profile.product_title, "Quenmora Lab");
    ASSERT_EQ(host.check_groups.size(), 2u);
    EXPECT_EQ(host.check_groups[1][0].port, 8080);

    // The download's own messages; a failed load leaves what was loaded before.
    write_file_bytes(dir / "broken.json", "{\"product title\": ");
    EXPECT_FALSE(load_check_list_file(host, dir / "broken.json", failure));
    EXPECT_EQ(failure, "checklist.json 파일이 올바른 json 형태가 아닙니다.");
    write_file_bytes(dir / "untitled.json", R"({"product path agent": "/opt/a"})");
    EXPECT_FALSE(load_check_list_file(host, dir / "untitled.json", failure));
    EXPECT_EQ(failure, "\"product title\" is empty.");
    EXPECT_EQ(host.profile.product_title, "Quenmora Lab");
    EXPECT_EQ(host.check_groups.size(), 2u);
}

TEST(CheckListFile, UnreadableFilesAreNamedWithTheReason) {
    ScratchFolder dir;
    CCheckHost host;
    std::string failure;
    EXPECT_FALSE(load_check_list_file(host, dir / "missing.json", failure));
    EXPECT_EQ(failure,
              "checklist.json 파일을 불러올 수 없습니다.\n(" + dir / "missing.json" + ": not found)");
    EXPECT_FALSE(load_check_list_file(host, dir.path(), failure));
    EXPECT_EQ(failure, "checklist.json 파일을 불러올 수 없습니다.\n(" + dir.path() + ": not a regular file)");
    EXPECT_FALSE(load_check_list_file(host, "/dev/zero", failure)) << "a device would never end";
    write_file_bytes(dir / "huge.json", std::string(kMaxCheckListFileBytes + 1, ' '));
    EXPECT_FALSE(load_check_list_file(host, dir / "huge.json", failure));
    EXPECT_NE(failure.find("larger than"), std::string::npos) << failure;
}
