// Redacted copies of log files in every form they come in, and the checksum file beside an archive.
#include "report/redacted_copy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "net/md5_digest.h"
#include "report/archive_digest.h"
#include "report/redactor.h"
#include "report/utf16_text.h"
#include "report/zip_writer.h"
#include "sys/run_and_capture.h"
#include "tests/link_planting.h"
#include "tests/report/gzip_test_support.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

UserIdentity identity() {
    return {"kiosk-07", "jkim", "Kim Jiwoo", "/home/jkim"};
}

std::string utf16(const std::string& utf8, bool big_endian) {
    std::string bytes;
    Utf16Encoder(big_endian).encode(utf8, bytes);
    return bytes;
}
std::string utf16le(const std::string& utf8) {
    return utf16(utf8, false);
}
std::string utf16be(const std::string& utf8) {
    return utf16(utf8, true);
}

}  // namespace

TEST(RedactedCopy, ValuesAcrossReadBlocksAndOverlongLinesAreStillReplaced) {
    ScratchFolder dir;
    // An address straddling the 64 KiB read block, a 3 MB line without line ends and one without
    // blanks either, and a full name across the 1 MiB mark of a long line.
    std::string text(64 * 1024 - 5, 'a');
    text += "\n192.168.77.1 end\n";
    for (int i = 0; i < 300000; ++i) text += "10.1.2.3 ";
    text += "\n";
    std::string korean;
    while (korean.size() < 3 * 1024 * 1024) korean += "가나다";
    text += korean + "\njkim\n";
    text += std::string(1024 * 1024 - 20, 'b') + " Kim Jiwoo." + std::string(1024 * 1024, 'b') + "\n";
    write_file_bytes(dir / "in.log", text);

    Redactor r(identity());
    ASSERT_TRUE(write_redacted_copy(r, dir / "in.log", dir / "out.log", false).written);
    const std::string out = read_file_bytes(dir / "out.log");
    EXPECT_THAT(out, Not(HasSubstr("192.168")));
    EXPECT_THAT(out, Not(HasSubstr("10.1.2.3")));
    EXPECT_THAT(out, HasSubstr("\nip-1 end\n"));
    EXPECT_THAT(out, HasSubstr("ip-2 ip-2 "));
    EXPECT_THAT(out, HasSubstr(korean + "\nuser-1\n")) << "the characters came through whole";
    EXPECT_THAT(out, HasSubstr("b name-1.b"));
    EXPECT_EQ(out.size(), text.size() - 300000 * 4 - 8 + 2 - 3);
}

TEST(RedactedCopy, NeverWritesOverAnExistingFile) {
    ScratchFolder dir;
    write_file_bytes(dir / "in.log", "192.168.1.1\n");
    write_file_bytes(dir / "victim", "keep");
    Redactor r(identity());
    EXPECT_FALSE(write_redacted_copy(r, dir / "in.log", dir / "victim", false).written);
    EXPECT_EQ(read_file_bytes(dir / "victim"), "keep");
    EXPECT_FALSE(write_redacted_copy(r, dir / "missing.log", dir / "out.log", false).written);
    EXPECT_FALSE(fs::exists(dir / "out.log")) << "a failure leaves nothing behind";
}

TEST(RedactedCopy, NeverWritesThroughAPlantedLink) {
    SKIP_UNLESS_LINKS_CAN_BE_PLANTED();
    ScratchFolder dir;
    write_file_bytes(dir / "in.log", "192.168.1.1\n");
    write_file_bytes(dir / "victim", "keep");
    fs::create_symlink(dir / "victim", dir / "planted");
    Redactor r(identity());
    EXPECT_FALSE(write_redacted_copy(r, dir / "in.log", dir / "planted", false).written);
    EXPECT_EQ(read_file_bytes(dir / "victim"), "keep");

    // In place, a leftover link under the temporary name is removed, not followed.
    fs::create_symlink(dir / "victim", dir / "in.log.redacted");
    ASSERT_TRUE(redact_file_in_place(r, dir / "in.log"));
    EXPECT_EQ(read_file_bytes(dir / "in.log"), "ip-1\n");
    EXPECT_EQ(read_file_bytes(dir / "victim"), "keep");
}

TEST(RedactedCopy, AFileThatCannotBeRedactedIsRemovedRatherThanPackedAsItIs) {
    ScratchFolder dir;
    write_file_bytes(dir / "tasklist.txt", "jkim 192.168.1.1\n");
    // Something that cannot be cleared away holds the name the redacted copy needs.
    fs::create_directories(dir / "tasklist.txt.redacted/busy");
    Redactor r(identity());
    EXPECT_FALSE(redact_file_in_place(r, dir / "tasklist.txt"));
    EXPECT_FALSE(fs::exists(dir / "tasklist.txt"));
    EXPECT_TRUE(fs::exists(dir / "tasklist.txt.redacted/busy")) << "what was not ours stays";
}

// Each text comes back in its own encoding, byte for byte but for the values; binary content comes
// back unchanged and is named.
TEST(RedactedCopy, EveryEncodingIsRedactedInItsOwn) {
    ScratchFolder dir;
    Redactor r(identity());
    const std::string line = "jkim at 192.168.1.1\r\n";
    const std::string lone = std::string("\x00\xD8", 2);  // a high surrogate without its low one
    const std::string zeros(10000, '\0');
    const struct {
        const char* name;
        std::string in, out;
    } cases[] = {
        {"le.log", "\xFF\xFE" + utf16le(line) + lone + "x",
         "\xFF\xFE" + utf16le("user-1 at ip-1\r\n") + lone + "x"},
        {"be.log", utf16be(line + line), utf16be("user-1 at ip-1\r\nuser-1 at ip-1\r\n")},
        {"padded.log", zeros + line + zeros + line,
         zeros + "user-1 at ip-1\r\n" + zeros + "user-1 at ip-1\r\n"},
        {"late.log", std::string(4000, 'a') + " jkim" + std::string(1, '\0'),
         std::string(4000, 'a') + " user-1" + std::string(1, '\0')},
        {"crash.dmp", std::string("MDMP\0\x01\0\x02jkim", 12), std::string("MDMP\0\x01\0\x02jkim", 12)},
        {"utf32.log", std::string("\xFF\xFE\0\0j\0\0\0", 8), std::string("\xFF\xFE\0\0j\0\0\0", 8)},
    };
    for (const auto& c : cases) {
        write_file_bytes(dir / c.name, c.in);
        const RedactedCopy made =
            write_redacted_copy(r, dir / c.name, dir / (std::string(c.name) + ".out"), false);
        ASSERT_TRUE(made.written) << c.name;
        EXPECT_EQ(read_file_bytes(dir / (std::string(c.name) + ".out")), c.out) << c.name;
        const bool binary = c.in == c.out;
        EXPECT_EQ(made.unredacted.size(), binary ? 1u : 0u) << c.name;
    }
    const RedactedCopy dropped = write_redacted_copy(r, dir / "crash.dmp", dir / "dropped", true);
    EXPECT_FALSE(dropped.written);
    EXPECT_FALSE(fs::exists(dir / "dropped"));
    ASSERT_EQ(dropped.unredacted.size(), 1u);
    EXPECT_EQ(dropped.unredacted[0].part, "");
    EXPECT_EQ(dropped.unredacted[0].reason, "binary");
    EXPECT_TRUE(dropped.unredacted[0].left_out);
}

// Rotated logs: a gzip file of two members, and a ZIP archive holding texts, a binary, a folder and
// another archive, come back in their own format with texts and names redacted.
TEST(RedactedCopy, CompressedLogsAreOpenedRedactedAndPackedAgain) {
    ScratchFolder dir;
    Redactor r(UserIdentity{"kiosk-07", "root", "", ""});
    write_file_bytes(dir / "old.log.gz", gzip("root from 10.0.0.1\n") + gzip("then 10.0.0.2\n"));
    RedactedCopy made = write_redacted_copy(r, dir / "old.log.gz", dir / "old.out.gz", false);
    ASSERT_TRUE(made.written);
    EXPECT_TRUE(made.unredacted.empty());
    EXPECT_EQ(gunzip(read_file_bytes(dir / "old.out.gz")), "user-1 from ip-1\nthen ip-2\n");

    // Entry names that differ in case only, which the file system here may not tell apart.
    write_file_bytes(dir / "lower.log", "root\n");
    write_file_bytes(dir / "upper.log", utf16be("ROOT at 10.0.0.1\n"));
    write_file_bytes(dir / "dump.bin", std::string("\x01\0\x02\0\x03 root", 10));
    write_file_bytes(dir / "10.0.0.2.log", "peer 10.0.0.2\n");
    ZipHandle inner = ZipCreate(dir / "inner.zip");
    ASSERT_EQ(ZipAddFile(inner, "kiosk-07/10.0.0.2.log", dir / "10.0.0.2.log"), kZipOk);
    ASSERT_EQ(ZipAddFile(inner, "dump.bin", dir / "dump.bin"), kZipOk);
    ASSERT_EQ(ZipClose(inner), kZipOk);
    ZipHandle outer = ZipCreate(dir / "logs.zip");
    ASSERT_EQ(ZipAddFolder(outer, "root"), kZipOk);
    ASSERT_EQ(ZipAddFile(outer, "root.log", dir / "lower.log"), kZipOk);
    ASSERT_EQ(ZipAddFile(outer, "ROOT.log", dir / "upper.log"), kZipOk);
    ASSERT_EQ(ZipAddFile(outer, "inner.zip", dir / "inner.zip"), kZipOk);
    ASSERT_EQ(ZipClose(outer), kZipOk);

    made = write_redacted_copy(r, dir / "logs.zip", dir / "logs.out.zip", false);
    ASSERT_TRUE(made.written);
    const std::string out = dir / "logs.out.zip";
    EXPECT_THAT(zipinfo_names(out), ElementsAre("user-1/", "user-1.log", "user-1 (2).log", "inner.zip"));
    EXPECT_EQ(unzip_entry(out, "user-1.log"), "user-1\n");
    EXPECT_EQ(unzip_entry(out, "user-1 (2).log"), utf16be("user-1 at ip-1\n"));
    write_file_bytes(dir / "inner.out.zip", unzip_entry(out, "inner.zip"));
    EXPECT_THAT(zipinfo_names(dir / "inner.out.zip"), ElementsAre("host-1/ip-2.log", "dump.bin"));
    EXPECT_EQ(unzip_entry(dir / "inner.out.zip", "host-1/ip-2.log"), "peer ip-2\n");
    EXPECT_EQ(unzip_entry(dir / "inner.out.zip", "dump.bin"), read_file_bytes(dir / "dump.bin"));
    ASSERT_EQ(made.unredacted.size(), 1u);
    EXPECT_EQ(made.unredacted[0].part, "inner.zip/dump.bin");
    EXPECT_FALSE(made.unredacted[0].left_out);

    // Left out instead, the binary entry is missing from the archive, and still named.
    made = write_redacted_copy(r, dir / "logs.zip", dir / "dropped.zip", true);
    ASSERT_TRUE(made.written);
    write_file_bytes(dir / "inner.dropped.zip", unzip_entry(dir / "dropped.zip", "inner.zip"));
    EXPECT_THAT(zipinfo_names(dir / "inner.dropped.zip"), ElementsAre("host-1/ip-2.log"));
    ASSERT_EQ(made.unredacted.size(), 1u);
    EXPECT_TRUE(made.unredacted[0].left_out);
}

TEST(RedactedCopy, AnArchiveThatCannotBeReadGoesInUnchangedAndIsNamed) {
    ScratchFolder dir;
    Redactor r(identity());
    const std::string broken_zip = std::string("PK\3\4", 4) + "jkim 10.0.0.1";
    const std::string cut_gzip = gzip("jkim 10.0.0.1\n").substr(0, 12);
    write_file_bytes(dir / "a.zip", broken_zip);
    write_file_bytes(dir / "b.gz", cut_gzip);
    RedactedCopy made = write_redacted_copy(r, dir / "a.zip", dir / "a.out", false);
    ASSERT_TRUE(made.written);
    EXPECT_EQ(read_file_bytes(dir / "a.out"), broken_zip);
    ASSERT_EQ(made.unredacted.size(), 1u);
    EXPECT_EQ(made.unredacted[0].reason, "a ZIP archive that could not be read");
    made = write_redacted_copy(r, dir / "b.gz", dir / "b.out", true);
    EXPECT_FALSE(made.written);
    ASSERT_EQ(made.unredacted.size(), 1u);
    EXPECT_EQ(made.unredacted[0].reason, "gzip data that could not be read");
    EXPECT_TRUE(made.unredacted[0].left_out);
}

TEST(ArchiveDigest, Sha256FileIsWhatSha256sumChecks) {
    ScratchFolder dir;
    write_file_bytes(dir / "abc.zip", "abc");
    const ArchiveDigests abc = file_digests(dir / "abc.zip");
    EXPECT_EQ(abc.sha256_hex, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex_text(abc.md5), "900150983cd24fb0d6963f7d28e17f72");
    write_file_bytes(dir / "Quenmora Lab_20240305140709.zip", std::string(200000, 'z'));
    const std::string hex = write_sha256_sidecar(dir / "Quenmora Lab_20240305140709.zip").sha256_hex;
    ASSERT_EQ(hex.size(), 64u);
    EXPECT_EQ(read_file_bytes(dir / "Quenmora Lab_20240305140709.zip.sha256"),
              hex + "  Quenmora Lab_20240305140709.zip\n");
    EXPECT_EQ(hex, "806c53b3aab21811d00bd0c0d9e33726fdd7c08de88df0d98252f69a4f120a74");
#ifndef _WIN32
    // And the standard tool agrees with the file beside the archive (Windows has no such tool).
    const std::string check = run_and_capture(
        "cd '" + dir.path() + "' && sha256sum -c 'Quenmora Lab_20240305140709.zip.sha256'; echo rc=$?");
    EXPECT_THAT(check, HasSubstr(": OK\nrc=0")) << check;
#endif

    EXPECT_FALSE(write_sha256_sidecar(dir / "missing.zip").known());
    EXPECT_FALSE(fs::exists(dir / "missing.zip.sha256"));
}

TEST(ArchiveDigest, APlantedLinkInTheChecksumsPlaceIsReplacedNotFollowed) {
    SKIP_UNLESS_LINKS_CAN_BE_PLANTED();
    ScratchFolder dir;
    write_file_bytes(dir / "a.zip", "abc");
    write_file_bytes(dir / "victim", "keep");
    fs::create_symlink(dir / "victim", dir / "a.zip.sha256");
    ASSERT_TRUE(write_sha256_sidecar(dir / "a.zip").known());
    EXPECT_EQ(read_file_bytes(dir / "victim"), "keep");
    EXPECT_FALSE(fs::is_symlink(dir / "a.zip.sha256"));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "a.zip.sha256").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}
