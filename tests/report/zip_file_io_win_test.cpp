// The ZIP writer's file layer on Windows: the share modes keep writers out of a source being read and
// everyone but readers out of the archive being written; positioned transfers leave the sequential
// position alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "report/zip_file_io.h"
#include "sys/fs_path.h"
#include "sys/win/wide_text.h"

namespace {

class ZipFileIoWin : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("zip_io_win_" + std::to_string(GetCurrentProcessId()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    std::string path(const std::string& name) const { return utf8_of(folder / fs_path(name)); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(fs_path(path(name)), std::ios::binary) << bytes;
    }
    std::string contents(const std::string& name) const {
        std::ifstream in(fs_path(path(name)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Another program's handle on the file.
    HANDLE open_other(const std::string& name, DWORD access, DWORD share) const {
        return CreateFileW(widen(path(name)).c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    }

    std::filesystem::path folder;
};

}  // namespace

TEST_F(ZipFileIoWin, SourceSharesWithReadersButNotWithWriters) {
    write("로그.txt", "0123456789");
    ZipSourceFile source;
    ASSERT_TRUE(source.open(path("로그.txt")));
    EXPECT_EQ(source.facts().size, 10u);
    EXPECT_FALSE(source.facts().read_only);
    EXPECT_GT(source.facts().modified, 1600000000);

    HANDLE reader = open_other("로그.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE) << "another reader is let in";
    CloseHandle(reader);
    HANDLE writer = open_other("로그.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
}

TEST_F(ZipFileIoWin, SourceHeldByAWriterOrMissingIsRefused) {
    write("busy.log", "x");
    HANDLE writer = open_other("busy.log", GENERIC_WRITE, FILE_SHARE_READ);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    ZipSourceFile source;
    EXPECT_FALSE(source.open(path("busy.log")));
    CloseHandle(writer);
    EXPECT_TRUE(source.open(path("busy.log")));
    EXPECT_FALSE(source.open(path("missing.log")));
    EXPECT_FALSE(source.open(utf8_of(folder))) << "a folder is no source";
}

TEST_F(ZipFileIoWin, ReadAtLeavesTheSequentialPositionAlone) {
    write("data.bin", "abcdefghij");
    ZipSourceFile source;
    ASSERT_TRUE(source.open(path("data.bin")));
    char buffer[4] = {};
    ASSERT_EQ(source.read(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    ASSERT_EQ(source.read_at(7, buffer, 4), 3);
    EXPECT_EQ(std::string(buffer, 3), "hij");
    EXPECT_EQ(source.read_at(10, buffer, 4), 0) << "at the end";
    ASSERT_EQ(source.read(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "def");
}

TEST_F(ZipFileIoWin, ArchiveIsExclusiveForWritingAndPatchedInPlace) {
    write("out.zip", "an old, longer archive");
    ZipArchiveFile archive;
    ASSERT_TRUE(archive.create(path("out.zip")));
    ZipArchiveFile second;
    EXPECT_FALSE(second.create(path("out.zip"))) << "another writer of the same archive";
    HANDLE reader = open_other("out.zip", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE) << "readers may look while it grows";
    CloseHandle(reader);

    ASSERT_TRUE(archive.write("HEADER..", 8));
    ASSERT_TRUE(archive.write_at(6, "42", 2));
    ASSERT_TRUE(archive.write("body", 4)) << "appends after the patch";
    ASSERT_TRUE(archive.write("partial entry", 13));
    ASSERT_TRUE(archive.truncate(12));
    ASSERT_TRUE(archive.write("!", 1));
    ASSERT_TRUE(archive.close());
    EXPECT_EQ(contents("out.zip"), "HEADER42body!");
}

TEST_F(ZipFileIoWin, FileHeldByAWriterIsCopiedWhole) {
    write("agent.log", "written so far");
    HANDLE writer = open_other("agent.log", GENERIC_WRITE, FILE_SHARE_READ);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    ZipSourceFile direct;
    EXPECT_FALSE(direct.open(path("agent.log"))) << "packing it directly is refused";
    EXPECT_TRUE(copy_held_file(path("agent.log"), path("copy.tmp")));
    CloseHandle(writer);
    EXPECT_EQ(contents("copy.tmp"), "written so far");
}
