#include "report/zip_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "sys/fs_path.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;

namespace {

std::string log_text(size_t lines) {
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += "[2024/03/05 14:07:" + std::to_string(10 + i % 50) + ".123][][" + std::to_string(i) +
                "][I] session " + std::to_string(i * 7919 % 1000) + " connected\r\n";
    return text;
}

void set_utc_mtime(const std::string& path, int64_t unix_seconds) {
    auto sys = std::chrono::sys_seconds(std::chrono::seconds(unix_seconds));
    fs::last_write_time(fs_path(path), std::chrono::file_clock::from_sys(sys));
}

// Every archive a test makes must be readable by Info-ZIP as well as by our own reading.
ZipLayout checked_layout(const std::string& archive) {
    EXPECT_TRUE(info_zip_accepts(archive)) << archive;
    ZipLayout z = read_zip_layout(archive);
    EXPECT_TRUE(z.ok);
    return z;
}

}  // namespace

TEST(ZipWriter, HeadersMatchAndCarryTheFixedValues) {
    ScratchFolder dir;
    write_file_bytes(dir / "z.txt", log_text(300));
    write_file_bytes(dir / "x.ZIP", "not really a zip, but named like one");
    write_file_bytes(dir / "y.gz", "gzip named");
    write_file_bytes(dir / "empty.log", "");
    const std::string archive = dir / "out.zip";

    ZipHandle zip = ZipCreate(archive);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(ZipAddFile(zip, "logs\\agent\\z.txt", dir / "z.txt"), kZipOk);
    EXPECT_EQ(ZipAddFile(zip, "x.ZIP", dir / "x.ZIP"), kZipOk);
    EXPECT_EQ(ZipAddFile(zip, "y.gz", dir / "y.gz"), kZipOk);
    EXPECT_EQ(ZipAddFile(zip, "empty.log", dir / "empty.log"), kZipOk);
    EXPECT_EQ(ZipAddFolder(zip, "abc"), kZipOk);
    EXPECT_EQ(ZipClose(zip), kZipOk);
    EXPECT_EQ(g_zip_last_result, kZipOk);

    ZipLayout z = checked_layout(archive);
    ASSERT_EQ(z.central.size(), 5u);
    for (size_t i = 0; i < z.central.size(); ++i) {
        const ZipHeaderFields& c = z.central[i];
        const ZipHeaderFields& l = z.local[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.version_made_by, 0x0B17);
        EXPECT_EQ(c.version_needed, 20);
        EXPECT_EQ(l.version_needed, 20);
        EXPECT_EQ(l.flags, c.flags);
        EXPECT_EQ(c.flags & 0x0008, 0);
        EXPECT_EQ(l.method, c.method);
        EXPECT_EQ(l.crc, c.crc);
        EXPECT_EQ(l.compressed, c.compressed);
        EXPECT_EQ(l.uncompressed, c.uncompressed);
        EXPECT_EQ(l.dos_time, c.dos_time);
        EXPECT_EQ(l.dos_date, c.dos_date);
        EXPECT_EQ(l.name, c.name);
        ASSERT_EQ(l.extra.size(), 17u);
        EXPECT_EQ(l.extra.substr(0, 5), std::string("UT\x0d\x00\x07", 5));
        ASSERT_EQ(c.extra.size(), 9u);
        EXPECT_EQ(c.extra.substr(0, 5), std::string("UT\x05\x00\x07", 5));
        EXPECT_EQ(c.extra.substr(5, 4), l.extra.substr(5, 4));  // the same modification time
    }
    EXPECT_EQ(z.central[0].name, "logs/agent/z.txt");
    EXPECT_EQ(z.central[0].method, 8);
    EXPECT_EQ(z.central[0].flags, 0x0002);
    EXPECT_LT(z.central[0].compressed, z.central[0].uncompressed);
    EXPECT_EQ(z.central[0].external_attributes, 0x81800020u);
    EXPECT_EQ(z.central[1].method, 0);
    EXPECT_EQ(z.central[1].flags, 0);
    EXPECT_EQ(z.central[1].compressed, z.central[1].uncompressed);
    EXPECT_EQ(z.central[2].method, 0);
    EXPECT_EQ(z.central[3].uncompressed, 0u);
    EXPECT_EQ(z.central[4].name, "abc/");
    EXPECT_EQ(z.central[4].method, 0);
    EXPECT_EQ(z.central[4].compressed, 0u);
    EXPECT_EQ(z.central[4].uncompressed, 0u);
    EXPECT_EQ(z.central[4].external_attributes, 0x41C00010u);
    EXPECT_EQ(z.central[0].local_offset, 0u);

    EXPECT_EQ(unzip_entry(archive, "logs/agent/z.txt"), log_text(300));
    EXPECT_EQ(unzip_entry(archive, "x.ZIP"), "not really a zip, but named like one");
}

TEST(ZipWriter, TimesAttributesAndExecutables) {
    ScratchFolder dir;
    write_file_bytes(dir / "a.txt", "aaaa");
    set_utc_mtime(dir / "a.txt", 1709634031);  // 2024-03-05 10:20:31 UTC
    write_file_bytes(dir / "ro.txt", "read only");
    fs::permissions(fs_path(dir / "ro.txt"), fs::perms::owner_read);
    std::string exe(200, '\0');
    exe[0] = 'M', exe[1] = 'Z', exe[0x3C] = 0x50, exe[0x50] = 'P', exe[0x51] = 'E';
    write_file_bytes(dir / "tool.exe", exe);
    std::string short_exe = exe.substr(0, 0x50 + 52);  // too short for its header: not an executable
    write_file_bytes(dir / "short.exe", short_exe);

    const std::string archive = dir / "t.zip";
    ZipHandle zip = ZipCreate(archive);
    ASSERT_NE(zip, nullptr);
    for (const char* name : {"a.txt", "ro.txt", "tool.exe", "short.exe"})
        EXPECT_EQ(ZipAddFile(zip, name, dir / name), kZipOk);
    EXPECT_EQ(ZipClose(zip), kZipOk);
    fs::permissions(fs_path(dir / "ro.txt"), fs::perms::owner_all);

    ZipLayout z = checked_layout(archive);
    ASSERT_EQ(z.central.size(), 4u);
    EXPECT_EQ(z.central[0].dos_time, (10 << 11) | (20 << 5) | 15);  // 31 seconds stored halved
    EXPECT_EQ(z.central[0].dos_date, ((2024 - 1980) << 9) | (3 << 5) | 5);
    EXPECT_EQ(z.local[0].extra.substr(5, 4), std::string("\xef\xf1\xe6\x65", 4));  // 1709634031
    EXPECT_EQ(z.central[1].external_attributes, 0x81000021u);
    EXPECT_EQ(z.central[2].external_attributes, 0x81C00020u);
    EXPECT_EQ(z.central[3].external_attributes, 0x81800020u);
}

TEST(ZipWriter, NamesOutsideAsciiAreMarkedUtf8) {
    ScratchFolder dir;
    const std::string korean = "진단로그_한글.txt";
    write_file_bytes(dir / korean, "내용");
    const std::string archive = dir / "k.zip";
    ZipHandle zip = ZipCreate(archive);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(ZipAddFile(zip, "폴더\\" + korean, dir / korean), kZipOk);
    EXPECT_EQ(ZipAddFile(zip, "plain.txt", dir / korean), kZipOk);
    EXPECT_EQ(ZipClose(zip), kZipOk);

    ZipLayout z = checked_layout(archive);
    ASSERT_EQ(z.central.size(), 2u);
    EXPECT_EQ(z.central[0].flags, 0x0802);
    EXPECT_EQ(z.local[0].flags, 0x0802);
    EXPECT_EQ(z.central[1].flags, 0x0002);
    EXPECT_EQ(zipinfo_names(archive), (std::vector<std::string>{"폴더/" + korean, "plain.txt"}));
}

TEST(ZipWriter, EmptyArchiveAndBadArguments) {
    ScratchFolder dir;
    const std::string archive = dir / "empty.zip";
    EXPECT_EQ(ZipFileList("", dir.path(), archive, {}), kZipOk);
    EXPECT_EQ(read_file_bytes(archive), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    EXPECT_TRUE(read_zip_layout(archive).ok);

    EXPECT_EQ(ZipAddFile(nullptr, "a", dir / "a"), kZipBadArgument);
    EXPECT_EQ(g_zip_last_result, kZipBadArgument);
    EXPECT_EQ(ZipAddFolder(nullptr, "a"), kZipBadArgument);
    EXPECT_EQ(ZipClose(nullptr), kZipBadArgument);
    EXPECT_EQ(ZipCreate(dir / "missing/folder/x.zip"), nullptr);
    EXPECT_EQ(g_zip_last_result, kZipCannotOpen);
    EXPECT_EQ(ZipFileList("", dir.path(), dir / "missing/folder/x.zip", {}), kZipNotCreated);

    ZipHandle zip = ZipCreate(archive);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(ZipAddFile(zip, "", dir / "empty.zip"), kZipBadArgument);
    EXPECT_EQ(ZipAddFile(zip, "gone.txt", dir / "gone.txt"), kZipCannotOpen);
    EXPECT_EQ(ZipAddFile(zip, "folder", dir.path()), kZipNotRegularFile);
    EXPECT_EQ(ZipClose(zip), kZipOk);
    EXPECT_EQ(read_zip_layout(archive).file_size, 22u);
}

TEST(ZipWriter, FileListBuildsFolderEntriesUnderTheRoot) {
    ScratchFolder dir;
    fs::create_directories(fs_path(dir / "d/s"));
    write_file_bytes(dir / "d/a.txt", "a");
    write_file_bytes(dir / "d/s/b.txt", "b");
    write_file_bytes(dir / "d/s/c.txt", "c");
    const std::vector<std::string> files = {dir / "d/a.txt", dir / "d/s/b.txt", dir / "d/s/c.txt"};

    const std::string rooted = dir / "rooted.zip";
    EXPECT_EQ(ZipFileList("R", dir / "d", rooted, files), kZipOk);
    checked_layout(rooted);
    EXPECT_EQ(zipinfo_names(rooted),
              (std::vector<std::string>{"R/", "R/a.txt", "R/s/", "R/s/b.txt", "R/s/c.txt"}));

    const std::string plain = dir / "plain.zip";
    EXPECT_EQ(ZipFileList("", dir / "d/", plain, files), kZipOk);
    checked_layout(plain);
    EXPECT_EQ(zipinfo_names(plain), (std::vector<std::string>{"a.txt", "s/", "s/b.txt", "s/c.txt"}));
}

TEST(ZipWriter, FileListCutsOnlyTheLeadingBase) {
    ScratchFolder dir;
    fs::create_directories(fs_path(dir / "d/x/d"));
    write_file_bytes(dir / "d/x/d/y.txt", "y");
    const std::string archive = dir / "n.zip";
    std::vector<ZipFileFailure> failures;
    EXPECT_EQ(ZipFileList("", dir / "d", archive, {dir / "d/x/d/y.txt"}, &failures), kZipOk);
    EXPECT_TRUE(failures.empty());
    checked_layout(archive);
    EXPECT_EQ(zipinfo_names(archive), (std::vector<std::string>{"x/d/", "x/d/y.txt"}));
}

TEST(ZipWriter, BusyFileGoesThroughATemporaryCopy) {
    ScratchFolder dir;
    write_file_bytes(dir / "a.txt", "first");
    // An archive being written is held exclusively, like a log its program keeps open for writing.
    const std::string busy = dir / "busy.zip";
    ZipHandle holder = ZipCreate(busy);
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(ZipAddFile(holder, "a.txt", dir / "a.txt"), kZipOk);
    const std::string busy_bytes = read_file_bytes(busy);

    const std::string direct = dir / "direct.zip";
    ZipHandle zip = ZipCreate(direct);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(ZipAddFile(zip, "busy.zip", busy), kZipCannotOpen);
    EXPECT_EQ(ZipClose(zip), kZipOk);

    fs::create_directory(fs_path(dir / "out"));
    const std::string listed = dir / "out/listed.zip";
    std::vector<ZipFileFailure> failures;
    EXPECT_EQ(ZipFileList("", dir.path(), listed, {dir / "a.txt", busy}, &failures), kZipOk);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(ZipClose(holder), kZipOk);

    checked_layout(listed);
    EXPECT_EQ(unzip_entry(listed, "busy.zip"), busy_bytes);
    EXPECT_FALSE(fs::exists(fs_path(dir / "out/_temp_zip_file_.tmp")));
    EXPECT_EQ(fs::directory_iterator(fs_path(dir / "out"))->path().filename(), "listed.zip");
}

TEST(ZipWriter, FileListReportsWhatItCouldNotPack) {
    ScratchFolder dir;
    write_file_bytes(dir / "a.txt", "a");
    const std::string archive = dir / "f.zip";
    std::vector<ZipFileFailure> failures;
    EXPECT_EQ(ZipFileList("", dir.path(), archive, {dir / "a.txt", dir / "vanished.txt"}, &failures), kZipOk);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].path, dir / "vanished.txt");
    EXPECT_EQ(failures[0].result, kZipCannotOpen);
    checked_layout(archive);
    EXPECT_EQ(zipinfo_names(archive), (std::vector<std::string>{"a.txt"}));
}

#ifndef _WIN32  // the independent ZIP64 readers (Info-ZIP, Python, 7-Zip) are on POSIX only

namespace {

// The ZIP64 end record and its locator, right before the classic end record.
bool has_zip64_end_records(const std::string& archive) {
    const std::string tail = read_file_bytes(archive);
    return tail.size() >= 98 && tail.compare(tail.size() - 98, 4, "PK\x06\x06") == 0 &&
           tail.compare(tail.size() - 42, 4, "PK\x06\x07") == 0;
}

}  // namespace

TEST(ZipWriter, SixtyFiveThousandFiveHundredAndThirtyFiveEntriesTakeTheZip64EndRecords) {
    ScratchFolder dir;
    write_file_bytes(dir / "last.txt", "the last entry");
    // One entry short of the classic count's escape value: classic; at it, the ZIP64 end records.
    for (const size_t count : {size_t{65534}, size_t{65535}}) {
        SCOPED_TRACE(count);
        const std::string archive = dir / ("n" + std::to_string(count) + ".zip");
        ZipHandle zip = ZipCreate(archive);
        ASSERT_NE(zip, nullptr);
        for (size_t i = 0; i + 1 < count; ++i) ASSERT_EQ(ZipAddFolder(zip, "d" + std::to_string(i)), kZipOk);
        ASSERT_EQ(ZipAddFile(zip, "last.txt", dir / "last.txt"), kZipOk);
        ASSERT_EQ(ZipClose(zip), kZipOk);

        EXPECT_EQ(has_zip64_end_records(archive), count == 65535);
        EXPECT_EQ(read_zip_layout(archive).ok, count == 65534);
        EXPECT_TRUE(info_zip_accepts(archive));
        EXPECT_TRUE(seven_zip_accepts(archive));
        EXPECT_EQ(python_zip_listing(archive, {"last.txt"}),
                  std::to_string(count) + "\nlast.txt 14 1071a46c\n");
        EXPECT_EQ(unzip_entry(archive, "last.txt"), "the last entry");
    }
}

// Reading, deflating and checking 9 GiB of sparse zeros takes minutes: run with CHECKTOOL_HEAVY_TESTS=1.
TEST(ZipWriter, FilesAndArchivesPastFourGibibytesTakeZip64Fields) {
    if (!std::getenv("CHECKTOOL_HEAVY_TESTS")) GTEST_SKIP() << "heavy: set CHECKTOOL_HEAVY_TESTS=1";
    ScratchFolder dir;
    write_file_bytes(dir / "small.txt", "small");
    write_file_bytes(dir / "after.txt", "after");
    const auto sparse = [&](const std::string& name, uint64_t size) {
        { std::ofstream touch(fs_path(dir / name)); }
        std::error_code ec;
        fs::resize_file(fs_path(dir / name), size, ec);  // costs no disk space
        return !ec;
    };
    if (!sparse("huge.log", 5ull << 30) || !sparse("stored.gz", 0x100000000ull + 5))
        GTEST_SKIP() << "no sparse files here";

    // Deflated past 4 GiB of data, stored past 4 GiB of archive, and an entry that starts beyond it.
    const std::string archive = dir / "big.zip";
    std::vector<ZipFileFailure> failures;
    ASSERT_EQ(ZipFileList("", dir.path(), archive,
                          {dir / "small.txt", dir / "huge.log", dir / "stored.gz", dir / "after.txt"},
                          &failures),
              kZipOk);
    EXPECT_TRUE(failures.empty());
    EXPECT_GT(fs::file_size(fs_path(archive)), 0x100000000ull);
    EXPECT_TRUE(has_zip64_end_records(archive));
    EXPECT_TRUE(info_zip_accepts(archive));
    EXPECT_TRUE(seven_zip_accepts(archive));
    // Every CRC checked, the sizes read from the ZIP64 fields.
    EXPECT_TRUE(python_zipfile_accepts(archive));
    EXPECT_EQ(python_zip_listing(archive, {"huge.log", "stored.gz"}),
              "4\nhuge.log 5368709120 193838c3\nstored.gz 4294967301 b1c2a1a3\n");
}

#endif

TEST(ZipWriter, LargeFilesStreamAndReuseTheDeflater) {
    ScratchFolder dir;
    std::mt19937 random(7);
    std::string noise(300000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    write_file_bytes(dir / "noise.bin", noise);          // incompressible: many full output pieces
    write_file_bytes(dir / "log.txt", log_text(20000));  // well over one 16 KiB piece
    const std::string archive = dir / "s.zip";
    ZipHandle zip = ZipCreate(archive);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(ZipAddFile(zip, "noise.bin", dir / "noise.bin"), kZipOk);
    EXPECT_EQ(ZipAddFile(zip, "log.txt", dir / "log.txt"), kZipOk);
    EXPECT_EQ(ZipAddFile(zip, "log2.txt", dir / "log.txt"), kZipOk);
    EXPECT_EQ(ZipClose(zip), kZipOk);
    ZipLayout z = checked_layout(archive);
    ASSERT_EQ(z.central.size(), 3u);
    EXPECT_EQ(z.central[1].crc, z.central[2].crc);
    EXPECT_EQ(z.central[1].compressed, z.central[2].compressed);
    EXPECT_EQ(unzip_entry(archive, "noise.bin"), noise);
}
