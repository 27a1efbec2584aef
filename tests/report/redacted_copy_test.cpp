// Redacted copies of text files, and the checksum file beside an archive.
#include "report/redacted_copy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "report/archive_digest.h"
#include "report/redactor.h"
#include "sys/run_and_capture.h"
#include "tests/link_planting.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

UserIdentity identity() {
    return {"kiosk-07", "jkim", "", "/home/jkim"};
}

}  // namespace

TEST(RedactedCopy, ValuesAcrossReadBlocksAndOverlongLinesAreStillReplaced) {
    ScratchFolder dir;
    // An address straddling the 64 KiB read block, a 3 MB line without line ends (cut at blanks) and
    // one without blanks either (cut at a character boundary, never inside a character).
    std::string text(64 * 1024 - 5, 'a');
    text += "\n192.168.77.1 end\n";
    for (int i = 0; i < 300000; ++i) text += "10.1.2.3 ";
    text += "\n";
    std::string korean;
    while (korean.size() < 3 * 1024 * 1024) korean += "가나다";
    text += korean + "\njkim\n";
    write_file_bytes(dir / "in.log", text);

    Redactor r(identity());
    ASSERT_TRUE(write_redacted_copy(&r, dir / "in.log", dir / "out.log"));
    const std::string out = read_file_bytes(dir / "out.log");
    EXPECT_THAT(out, Not(HasSubstr("192.168")));
    EXPECT_THAT(out, Not(HasSubstr("10.1.2.3")));
    EXPECT_THAT(out, HasSubstr("\nip-1 end\n"));
    EXPECT_THAT(out, HasSubstr("ip-2 ip-2 "));
    EXPECT_THAT(out, HasSubstr(korean + "\nuser-1\n")) << "the characters came through whole";
    EXPECT_EQ(out.size(), text.size() - 300000 * 4 - 8 + 2);

    // Without a redactor the bytes are copied as they are.
    ASSERT_TRUE(write_redacted_copy(nullptr, dir / "in.log", dir / "plain.log"));
    EXPECT_EQ(read_file_bytes(dir / "plain.log"), text);
}

TEST(RedactedCopy, NeverWritesOverAnExistingFile) {
    ScratchFolder dir;
    write_file_bytes(dir / "in.log", "192.168.1.1\n");
    write_file_bytes(dir / "victim", "keep");
    Redactor r(identity());
    EXPECT_FALSE(write_redacted_copy(&r, dir / "in.log", dir / "victim"));
    EXPECT_EQ(read_file_bytes(dir / "victim"), "keep");
    EXPECT_FALSE(write_redacted_copy(&r, dir / "missing.log", dir / "out.log"));
    EXPECT_FALSE(fs::exists(dir / "out.log")) << "a failure leaves nothing behind";
}

TEST(RedactedCopy, NeverWritesThroughAPlantedLink) {
    SKIP_UNLESS_LINKS_CAN_BE_PLANTED();
    ScratchFolder dir;
    write_file_bytes(dir / "in.log", "192.168.1.1\n");
    write_file_bytes(dir / "victim", "keep");
    fs::create_symlink(dir / "victim", dir / "planted");
    Redactor r(identity());
    EXPECT_FALSE(write_redacted_copy(&r, dir / "in.log", dir / "planted"));
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

TEST(RedactedCopy, BinaryFilesAreToldFromText) {
    ScratchFolder dir;
    write_file_bytes(dir / "text.log", "plain 한글 text\r\n");
    write_file_bytes(dir / "empty.log", "");
    write_file_bytes(dir / "dump.bin", std::string("MZ\x90\0\x03", 5));
    write_file_bytes(dir / "late.bin", std::string(4000, 'a') + std::string(1, '\0'));
    EXPECT_FALSE(looks_binary(dir / "text.log"));
    EXPECT_FALSE(looks_binary(dir / "empty.log"));
    EXPECT_TRUE(looks_binary(dir / "dump.bin"));
    EXPECT_TRUE(looks_binary(dir / "late.bin"));
    EXPECT_TRUE(looks_binary(dir / "missing")) << "what cannot be read is not treated as text";
}

TEST(ArchiveDigest, Sha256FileIsWhatSha256sumChecks) {
    ScratchFolder dir;
    write_file_bytes(dir / "abc.zip", "abc");
    EXPECT_EQ(file_sha256_hex(dir / "abc.zip"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    write_file_bytes(dir / "Quenmora Lab_20240305140709.zip", std::string(200000, 'z'));
    const std::string hex = write_sha256_sidecar(dir / "Quenmora Lab_20240305140709.zip");
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

    EXPECT_EQ(write_sha256_sidecar(dir / "missing.zip"), "");
    EXPECT_FALSE(fs::exists(dir / "missing.zip.sha256"));
}

TEST(ArchiveDigest, APlantedLinkInTheChecksumsPlaceIsReplacedNotFollowed) {
    SKIP_UNLESS_LINKS_CAN_BE_PLANTED();
    ScratchFolder dir;
    write_file_bytes(dir / "a.zip", "abc");
    write_file_bytes(dir / "victim", "keep");
    fs::create_symlink(dir / "victim", dir / "a.zip.sha256");
    ASSERT_FALSE(write_sha256_sidecar(dir / "a.zip").empty());
    EXPECT_EQ(read_file_bytes(dir / "victim"), "keep");
    EXPECT_FALSE(fs::is_symlink(dir / "a.zip.sha256"));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "a.zip.sha256").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}
