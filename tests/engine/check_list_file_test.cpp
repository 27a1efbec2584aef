// A check list read from a local file instead of the web server.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/CCheckHost.h"
#include "engine/check_list.h"
#include "sys/native_path.h"
#include "sys/text_convert.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;

namespace {

// The list as Windows' Notepad or PowerShell 5 saves it: UTF-16 with its byte-order mark first.
std::string utf16_with_mark(const std::u16string& text, bool big_endian) {
    std::string bytes;
    for (const char16_t unit : u"\uFEFF" + text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += big_endian ? high : low;
        bytes += big_endian ? low : high;
    }
    return bytes;
}

}  // namespace

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

TEST(CheckListFile, ListsSavedByWindowsEditorsWithAByteOrderMarkLoad) {
    ScratchFolder dir;
    const std::u16string list =
        uR"({"product title": "퀜모라 랩", "product path agent": "C:\\에이전트",
        "product path viewer": "/opt/v", "agent log path": "/opt/a/Log", "web": ["127.0.0.1:8080"]})";
    const std::pair<const char*, std::string> saved[] = {
        {"UTF-16 little-endian", utf16_with_mark(list, false)},
        {"UTF-16 big-endian", utf16_with_mark(list, true)},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + text_as_utf8(utf16_with_mark(list, false))},
    };
    for (const auto& [how, bytes] : saved) {
        SCOPED_TRACE(how);
        write_file_bytes(dir / "checklist.json", bytes);
        CCheckHost host;
        std::string failure;
        ASSERT_TRUE(load_check_list_file(host, dir / "checklist.json", failure)) << failure;
        EXPECT_EQ(host.profile.product_title, "퀜모라 랩");
        EXPECT_EQ(host.profile.product_path_agent, native_separators("C:\\에이전트"));
        ASSERT_EQ(host.check_groups.size(), 2u);
    }

    // What is malformed stays refused, in UTF-16 too; a unit that makes no character is U+FFFD.
    write_file_bytes(dir / "broken.json", utf16_with_mark(uR"({"product title": )", false));
    CCheckHost host;
    std::string failure;
    EXPECT_FALSE(load_check_list_file(host, dir / "broken.json", failure));
    EXPECT_EQ(failure, "checklist.json 파일이 올바른 json 형태가 아닙니다.");
    EXPECT_EQ(text_as_utf8(std::string("\xFF\xFE"
                                       "a\0\x00\xD8"
                                       "b",
                                       7)),
              "a\xEF\xBF\xBD\xEF\xBF\xBD");
}
