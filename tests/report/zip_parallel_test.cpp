#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "report/zip_writer.h"
#include "sys/fs_path.h"
#include "sys/run_and_capture.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kChunk = 4096;  // small pieces, so that every boundary case stays a small file

std::string log_lines(size_t lines, uint32_t seed) {
    std::mt19937 random(seed);
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += "[2024/03/05 14:07:" + std::to_string(10 + i % 50) + ".123][][" +
                std::to_string(random() % 900) + "][I] session " + std::to_string(random() % 100000) +
                " connected\r\n";
    return text;
}

std::string noise(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

ZipPackOptions with_workers(int workers, size_t chunk_bytes = kChunk) {
    ZipPackOptions options;
    options.workers = workers;
    options.chunk_bytes = chunk_bytes;
    return options;
}

// Both independent readers must accept the archive and check every CRC.
ZipLayout verified(const std::string& archive) {
    EXPECT_TRUE(info_zip_accepts(archive)) << archive;
    EXPECT_TRUE(python_zipfile_accepts(archive)) << archive;
    ZipLayout z = read_zip_layout(archive);
    EXPECT_TRUE(z.ok) << archive;
    return z;
}

// The chunk boundaries: nothing, one byte, exactly one piece, one piece and a byte, many pieces of
// text, many pieces of noise (stored blocks), and a stored entry larger than a piece.
struct BoundaryFiles {
    explicit BoundaryFiles(const ScratchFolder& dir) {
        fs::create_directories(fs_path(dir / "logs/sub"));
        add(dir, "logs/empty.log", "");
        add(dir, "logs/one.log", "x");
        add(dir, "logs/exact.log", log_lines(200, 1).substr(0, kChunk));
        add(dir, "logs/exact_plus_one.log", log_lines(200, 2).substr(0, kChunk + 1));
        add(dir, "logs/sub/long.log", log_lines(5000, 3));
        add(dir, "logs/sub/noise.bin", noise(20 * kChunk + 17, 4));
        add(dir, "logs/old.gz", noise(3 * kChunk, 5));
        // An access time ahead of the modification time is one that reading leaves alone, so every
        // pack of these files writes the same times.
        for (const std::string& path : paths)
            run_and_capture("touch -a -d tomorrow " + zip_test_detail::quoted(path));
    }
    void add(const ScratchFolder& dir, const std::string& name, const std::string& bytes) {
        paths.push_back(dir / name);
        contents.push_back(bytes);
        names.push_back(name.substr(5));  // below logs/
        write_file_bytes(paths.back(), bytes);
    }
    std::vector<std::string> paths, contents, names;
};

}  // namespace

TEST(ZipParallel, OneWorkerIsTheOneThreadWriterByteForByte) {
    ScratchFolder dir;
    BoundaryFiles files(dir);
    std::vector<std::string> top;  // no subfolders: folder entries carry the clock, files do not
    for (const std::string& p : files.paths)
        if (p.find("/sub/") == std::string::npos) top.push_back(p);

    ZipHandle zip = ZipCreate(dir / "reference.zip");
    ASSERT_NE(zip, nullptr);
    for (const std::string& p : top) ASSERT_EQ(ZipAddFile(zip, p.substr(p.rfind('/') + 1), p), kZipOk);
    ASSERT_EQ(ZipClose(zip), kZipOk);
    ASSERT_EQ(ZipFileList("", dir / "logs", dir / "listed.zip", top, nullptr, with_workers(1)), kZipOk);
    EXPECT_EQ(read_file_bytes(dir / "listed.zip"), read_file_bytes(dir / "reference.zip"));
    verified(dir / "listed.zip");
}

TEST(ZipParallel, AnyNumberOfWorkersGivesTheSameEntriesAndContents) {
    ScratchFolder dir;
    BoundaryFiles files(dir);
    ASSERT_EQ(ZipFileList("R", dir / "logs", dir / "one.zip", files.paths, nullptr, with_workers(1)), kZipOk);
    const ZipLayout one = verified(dir / "one.zip");
    ASSERT_EQ(one.central.size(), files.paths.size() + 2);  // R/ and R/sub/

    for (int workers : {2, 3, 8}) {
        SCOPED_TRACE(workers);
        const std::string archive = dir / ("n" + std::to_string(workers) + ".zip");
        std::vector<ZipFileFailure> failures;
        ASSERT_EQ(ZipFileList("R", dir / "logs", archive, files.paths, &failures, with_workers(workers)),
                  kZipOk);
        EXPECT_TRUE(failures.empty());
        const ZipLayout many = verified(archive);
        ASSERT_EQ(many.central.size(), one.central.size());
        for (size_t i = 0; i < one.central.size(); ++i) {
            const ZipHeaderFields &a = one.central[i], &b = many.central[i];
            SCOPED_TRACE(a.name);
            EXPECT_EQ(b.name, a.name);
            EXPECT_EQ(b.flags, a.flags);
            EXPECT_EQ(b.method, a.method);
            EXPECT_EQ(b.crc, a.crc);
            EXPECT_EQ(b.uncompressed, a.uncompressed);
            EXPECT_EQ(b.external_attributes, a.external_attributes);
            EXPECT_EQ(many.local[i].flags, b.flags);
            EXPECT_EQ(many.local[i].crc, b.crc);
            EXPECT_EQ(many.local[i].compressed, b.compressed);
            if (a.name.back() == '/') continue;  // folder entries carry the clock
            EXPECT_EQ(b.dos_time, a.dos_time);
            EXPECT_EQ(b.extra, a.extra);
            EXPECT_EQ(many.local[i].extra, one.local[i].extra);
            // Each piece costs its own code tables and a flush marker, some tens of bytes; noise stays
            // stored blocks, not inflated codes.
            EXPECT_LE(b.compressed, a.compressed + 64 * (a.uncompressed / kChunk + 1));
        }
        for (size_t i = 0; i < files.names.size(); ++i)
            EXPECT_EQ(unzip_entry(archive, "R/" + files.names[i]), files.contents[i]) << files.names[i];
    }
}

TEST(ZipParallel, ProgressMovesPerPieceAndEndsAtTheTotal) {
    ScratchFolder dir;
    BoundaryFiles files(dir);
    uint64_t total_size = 0;
    for (const std::string& c : files.contents) total_size += c.size();
    for (int workers : {1, 2}) {
        SCOPED_TRACE(workers);
        std::vector<std::pair<uint64_t, uint64_t>> calls;
        ZipPackOptions options = with_workers(workers);
        options.progress = [&](uint64_t done, uint64_t total) { calls.emplace_back(done, total); };
        ASSERT_EQ(ZipFileList("", dir / "logs", dir / "p.zip", files.paths, nullptr, options), kZipOk);
        ASSERT_GT(calls.size(), files.paths.size());  // more often than once a file
        EXPECT_EQ(calls.back(), std::make_pair(total_size, total_size));
        for (size_t i = 1; i < calls.size(); ++i) EXPECT_GE(calls[i].first, calls[i - 1].first);
    }
}

// The file changes while its first pieces are written: the entry holds what was read, under its CRC.
TEST(ZipParallel, AFileThatGrowsOrShrinksWhilePackedStaysConsistent) {
    for (int workers : {1, 2}) {
        for (bool grow : {true, false}) {
            SCOPED_TRACE(std::to_string(workers) + (grow ? " grow" : " shrink"));
            ScratchFolder dir;
            const std::string path = dir / "changing.log";
            const std::string text = log_lines(1200, 6);  // about 80 KiB: many pieces
            write_file_bytes(path, text);
            const std::string final_text = grow ? text + log_lines(300, 7) : text.substr(0, 60000);
            bool changed = false;
            ZipPackOptions options = with_workers(workers);
            options.progress = [&](uint64_t, uint64_t) {
                if (changed) return;
                changed = true;
                write_file_bytes(path, final_text);
            };
            ASSERT_EQ(ZipFileList("", dir.path(), dir / "c.zip", {path}, nullptr, options), kZipOk);
            ASSERT_TRUE(changed);
#ifdef _WIN32
            // Windows keeps writers out while the file is read (it is shared with readers only), so
            // the change is refused and the entry holds the text of before.
            const std::string& packed_text = text;
#else
            const std::string& packed_text = final_text;
#endif
            const ZipLayout z = verified(dir / "c.zip");
            ASSERT_EQ(z.central.size(), 1u);
            EXPECT_EQ(z.central[0].uncompressed, packed_text.size());
            EXPECT_EQ(unzip_entry(dir / "c.zip", "changing.log"), packed_text);
        }
    }
}

TEST(ZipParallel, VanishedUnreadableAndBusyFilesKeepTheRestAndTheArchiveValid) {
    for (int workers : {1, 2}) {
        SCOPED_TRACE(workers);
        ScratchFolder dir;
        fs::create_directories(fs_path(dir / "logs/a_folder"));
        write_file_bytes(dir / "logs/first.log", log_lines(3000, 8));
        write_file_bytes(dir / "logs/last.log", log_lines(100, 9));
        // A log its program holds for writing (an archive being written is held the same way), with
        // an old modification time that the temporary copy must not replace.
        const std::string busy = dir / "logs/busy.zip";
        ZipHandle holder = ZipCreate(busy);
        ASSERT_NE(holder, nullptr);
#ifndef _WIN32
        // (Windows refuses to change the time of a file held for writing: there it is the time of now.)
        const auto stamp = std::chrono::sys_seconds(std::chrono::seconds(1709634031));  // 2024-03-05 10:20:31
        fs::last_write_time(fs_path(busy), std::chrono::file_clock::from_sys(stamp));
#endif
        const auto held_time = std::chrono::floor<std::chrono::seconds>(
            std::chrono::file_clock::to_sys(fs::last_write_time(fs_path(busy))));

        std::vector<std::string> listed = {dir / "logs/first.log", dir / "logs/vanished.log",
                                           dir / "logs/a_folder", busy, dir / "logs/last.log"};
#ifndef _WIN32
        // A named pipe opens but is no file to read; nothing may wait for a writer on it. (Windows has
        // no pipes among its files.)
        run_and_capture("mkfifo " + zip_test_detail::quoted(dir / "logs/pipe.log"));
        ASSERT_TRUE(fs::is_fifo(fs_path(dir / "logs/pipe.log")));
        listed.push_back(dir / "logs/pipe.log");
#endif
        std::vector<ZipFileFailure> failures;
        fs::create_directory(fs_path(dir / "out"));
        const std::string archive = dir / "out/f.zip";
        ASSERT_EQ(ZipFileList("", dir / "logs", archive, listed, &failures, with_workers(workers)), kZipOk);
        EXPECT_EQ(ZipClose(holder), kZipOk);

        ASSERT_EQ(failures.size(), listed.size() - 3);
        EXPECT_EQ(failures[0].path, dir / "logs/vanished.log");
        EXPECT_EQ(failures[1].path, dir / "logs/a_folder");
        if (failures.size() > 2) {
            EXPECT_EQ(failures[2].path, dir / "logs/pipe.log");
        }
        EXPECT_EQ(failures[0].result, kZipCannotOpen);
        for (size_t i = 1; i < failures.size(); ++i) EXPECT_EQ(failures[i].result, kZipNotRegularFile) << i;
        const ZipLayout z = verified(archive);
        EXPECT_EQ(zipinfo_names(archive), (std::vector<std::string>{"first.log", "busy.zip", "last.log"}));
        EXPECT_EQ(unzip_entry(archive, "first.log"), log_lines(3000, 8));
        ASSERT_EQ(z.central.size(), 3u);
#ifndef _WIN32
        EXPECT_EQ(z.central[1].dos_time, (10 << 11) | (20 << 5) | 15);
#endif
        EXPECT_EQ(zip_test_detail::get32(z.central[1].extra, 5),
                  static_cast<uint32_t>(held_time.time_since_epoch().count()));
        EXPECT_FALSE(fs::exists(fs_path(dir / "out/_temp_zip_file_.tmp")));
    }
}

TEST(ZipParallel, FilesPastTheSizeLimitStayOutAlsoWhenTheyGrowWhileRead) {
    ScratchFolder dir;
    write_file_bytes(dir / "small.log", "small");
    write_file_bytes(dir / "large.log", log_lines(10, 1));
    std::vector<std::string> listed = {dir / "small.log", dir / "large.log"};
#ifndef _WIN32
    // A /proc file announces no size and then brings its text, as a log written to while packed.
    fs::create_symlink("/proc/self/status", fs_path(dir / "growing.log"));
    listed.push_back(dir / "growing.log");
#endif
    for (int workers : {1, 2}) {
        SCOPED_TRACE(workers);
        ZipPackOptions options = with_workers(workers);
        options.max_file_bytes = 64;
        std::vector<ZipFileFailure> failures;
        const std::string archive = dir / ("limited" + std::to_string(workers) + ".zip");
        ASSERT_EQ(ZipFileList("", dir.path(), archive, listed, &failures, options), kZipOk);
        ASSERT_EQ(failures.size(), listed.size() - 1);
        for (const ZipFileFailure& f : failures) EXPECT_EQ(f.result, kZipPastLimit) << f.path;
        verified(archive);
        EXPECT_EQ(zipinfo_names(archive), std::vector<std::string>{"small.log"});
    }
}

// A name whose bytes are not UTF-8 (a log written under another code page) must not carry the UTF-8
// flag, or readers that trust it refuse the whole archive; its bytes are kept as they are.
TEST(ZipParallel, OnlyValidUtf8NamesCarryTheUtf8Flag) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names are UTF-16: every name reaches the writer as valid UTF-8";
#endif
    for (int workers : {1, 2}) {
        SCOPED_TRACE(workers);
        ScratchFolder dir;
        const std::string latin1 = "caf\xe9_\xff.log";
        const std::string korean = "진단.log";
        write_file_bytes(dir / latin1, "latin-1 named");
        write_file_bytes(dir / korean, "korean named");
        write_file_bytes(dir / "plain.log", "plain");
        const std::string archive = dir / "u.zip";
        ASSERT_EQ(ZipFileList("", dir.path(), archive, {dir / latin1, dir / korean, dir / "plain.log"},
                              nullptr, with_workers(workers)),
                  kZipOk);
        const ZipLayout z = verified(archive);
        ASSERT_EQ(z.central.size(), 3u);
        EXPECT_EQ(z.central[0].name, latin1);
        EXPECT_EQ(z.central[0].flags & 0x0800, 0);
        EXPECT_EQ(z.local[0].flags & 0x0800, 0);
        EXPECT_EQ(z.central[1].flags & 0x0800, 0x0800);
        EXPECT_EQ(z.central[2].flags & 0x0800, 0);
        EXPECT_EQ(unzip_entry(archive, korean), "korean named");
    }
}

// The deflated bytes of a fixed text as the one-thread writer made them before packing went
// parallel (zlib's level 8, raw, memory level 8): any change of parameters or of the one-worker path
// shows here, which comparing the two paths with each other would not.
TEST(ZipParallel, OneWorkerKeepsTheDeflatedBytesOfBefore) {
    ScratchFolder dir;
    write_file_bytes(dir / "fixed.log", log_lines(3000, 11));
    ASSERT_EQ(ZipFileList("", dir.path(), dir / "f.zip", {dir / "fixed.log"}, nullptr, with_workers(1)),
              kZipOk);
    const ZipLayout z = verified(dir / "f.zip");
    ASSERT_EQ(z.central.size(), 1u);
    const std::string data = read_file_bytes(dir / "f.zip").substr(30 + 9 + 17, z.central[0].compressed);
    const uint32_t data_crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    EXPECT_EQ(z.central[0].compressed, 23136u);
    EXPECT_EQ(data_crc, 3710961525u);
}
