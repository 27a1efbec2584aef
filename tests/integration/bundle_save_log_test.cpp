// A log collection with redaction, bounds and a checksum: what reaches the archive and what stays out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <regex>
#include <set>

#include "engine/save_log.h"
#include "report/utf16_text.h"
#include "report/zip_writer.h"
#include "sys/ascii_text.h"
#include "sys/fs_path.h"
#include "tests/integration/redaction_corpus.h"
#include "tests/quiet_save_log_observer.h"
#include "tests/report/gzip_test_support.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// Values that must not reach the archive in any form, and the tokens that stand for them.
const std::vector<std::string> kPlanted = {
    "198.51.100.23",     "2001:db8:5::17",        "2001:0db8:0005:0000:0000:0000:0000:0017",
    "0a:1b:2c:3d:4e:5f", "jiwoo.kim@example.org", "kiosk-planted-07",
    "jkimplanted",       "Kim Plantedname"};

std::string planted_text(const std::string& home) {
    return "connect 198.51.100.23 and 2001:db8:5::17 (2001:0db8:0005:0000:0000:0000:0000:0017)\n"
           "nic 0a:1b:2c:3d:4e:5f mail jiwoo.kim@example.org\n"
           "on kiosk-planted-07 as jkimplanted (Kim Plantedname) in " +
           home + "/Documents\n";
}

// systeminfo.txt: Base64 followed by one zero byte.
std::string decode_system_info(const std::string& stored) {
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : stored) {
        const size_t v = alphabet.find(c);
        if (c == '\0' || v == std::string::npos) continue;
        bits = bits << 6 | static_cast<uint32_t>(v);
        if ((count += 6) >= 8) out += static_cast<char>(bits >> (count -= 8) & 0xFF);
    }
    return out;
}

// Every entry's content, nested archives opened too, keyed by entry name.
std::map<std::string, std::string> unpack_all(const std::string& archive, const std::string& scratch) {
    std::map<std::string, std::string> entries;
    for (const std::string& name : zipinfo_names(archive)) {
        if (name.empty() || name.back() == '/') continue;
        const std::string bytes = unzip_entry(archive, name);
        entries[name] = bytes;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".zip") == 0) {
            const std::string nested = scratch + "/nested_" + std::to_string(entries.size()) + ".zip";
            write_file_bytes(nested, bytes);
            for (auto& [inner, content] : unpack_all(nested, scratch)) entries[name + "!" + inner] = content;
        }
    }
    return entries;
}

// The ways the bundle's bytes can be read: as they are; without zero bytes (UTF-16 of ASCII in either
// byte order and alignment, and padding); and each of those URL-decoded, JSON-unescaped and
// HTML-unescaped. In lower case, for values whose case does not matter.
std::vector<std::string> decodings(const std::string& bytes) {
    std::string no_zeros;
    for (char c : bytes)
        if (c != '\0') no_zeros += c;
    std::vector<std::string> out;
    for (const std::string& text : {bytes, no_zeros}) {
        out.push_back(text);
        out.push_back(std::regex_replace(text, std::regex("%2[fF]"), "/"));
        std::string url;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 2 < text.size() &&
                std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
                url += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                url += text[i] == '+' ? ' ' : text[i];
            }
        }
        out.push_back(url);
        std::string json = std::regex_replace(text, std::regex(R"(\\u00([0-7][0-9a-fA-F]))"), "%$1");
        json = std::regex_replace(json, std::regex(R"(\\([\\/"]))"), "$1");
        out.push_back(json);
        out.push_back(std::regex_replace(std::regex_replace(text, std::regex("&#39;|&#x27;"), "'"),
                                         std::regex("&amp;"), "&"));
    }
    for (std::string& text : out) text = ascii_lower(text);
    return out;
}

std::string utf16(const std::string& utf8, bool big_endian) {
    std::string bytes;
    Utf16Encoder(big_endian).encode(utf8, bytes);
    return bytes;
}

class BundleSaveLog : public ::testing::Test {
protected:
    void SetUp() override {
        home = dir / "home/jkimplanted";
        fs::create_directories(home + "/program");
        fs::create_directories(dir / "logs/sub");
        write_file_bytes(home + "/program/agent.exe", "program");
        write_file_bytes(dir / "logs/agent.log", planted_text(home));
        write_file_bytes(dir / "logs/sub/198.51.100.23_jkimplanted.log", "from 198.51.100.23\n");
        write_file_bytes(dir / "logs/crash.dmp", std::string("MDMP\0\0", 6) + "198.51.100.23");

        inputs.profile.product_title = "Quenmora";
        inputs.profile.product_path_agent = home + "/program";
        inputs.profile.agent_log_path = dir / "logs";
        inputs.collection_folder = dir / "collect";
        inputs.all_users_folder = dir / "public";
        fs::create_directories(dir / "public");
        inputs.monitors = std::vector<Rect>{};
        inputs.identity = UserIdentity{"kiosk-planted-07", "jkimplanted", "Kim Plantedname", home};
        inputs.run_command = [this](const std::string&, int) { return planted_text(home); };
        inputs.bundle.checksum = true;
    }

    ScratchFolder dir;
    std::string home;
    SaveLogInputs inputs;
    QuietObserver observer;
};

}  // namespace

TEST_F(BundleSaveLog, NothingPlantedSurvivesAnywhereInTheArchive) {
    inputs.bundle.redact = true;
    inputs.bundle.drop_binary = true;
    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written);
    const auto entries = unpack_all(result.archive_path, dir.path());

    std::vector<std::string> names;
    for (const auto& [name, content] : entries) names.push_back(name);
    EXPECT_THAT(names, Contains("Quenmora_log.zip!agent.log"));
    EXPECT_THAT(names, Contains("Quenmora_log.zip!sub/ip-1_user-1.log")) << "file names are redacted too";
    EXPECT_THAT(names, Not(Contains("Quenmora_log.zip!crash.dmp")));

    for (const auto& [name, stored] : entries) {
        // The system information is Base64: its decoded text counts.
        const std::string content = name == "systeminfo.txt" ? decode_system_info(stored) : stored;
        for (const std::string& value : kPlanted) {
            EXPECT_THAT(name, Not(HasSubstr(value)));
            EXPECT_THAT(content, Not(HasSubstr(value))) << name;
        }
        EXPECT_THAT(content, Not(HasSubstr(home))) << name;
        EXPECT_THAT(content, Not(HasSubstr("/home/jkim"))) << name;
    }

    // One value, one token, in the logs and in every text the tool wrote.
    const std::string expected_line =
        "connect ip-1 and ip-2 (ip-2)\r\nnic mac-1 mail email-1\r\n"
        "on host-1 as user-1 (name-1) in home-1/Documents\r\n";
    EXPECT_THAT(entries.at("tasklist.txt"), HasSubstr(expected_line));
    EXPECT_THAT(entries.at("ipconfig.txt"), HasSubstr(expected_line));
    EXPECT_THAT(decode_system_info(entries.at("systeminfo.txt")), HasSubstr("connect ip-1 and ip-2"));
    EXPECT_THAT(entries.at("Quenmora_log.zip!agent.log"),
                HasSubstr("connect ip-1 and ip-2 (ip-2)\nnic mac-1"));
    EXPECT_THAT(entries.at("fileinfo_agent_app.txt"), HasSubstr("install folder : home-1/program"));
    EXPECT_EQ(entries.at("Quenmora_log.zip!sub/ip-1_user-1.log"), "from ip-1\n");

    // The map goes beside the archive, for the customer's eyes only.
    ASSERT_EQ(result.redaction_map_path, result.archive_path + ".map.json");
#ifndef _WIN32  // Windows files have no POSIX mode
    struct stat info {};
    ASSERT_EQ(::stat(result.redaction_map_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
    rapidjson::Document map;
    ASSERT_FALSE(map.Parse(read_file_bytes(result.redaction_map_path).c_str()).HasParseError());
    EXPECT_STREQ(map["ip-1"].GetString(), "198.51.100.23");
    EXPECT_STREQ(map["user-1"].GetString(), "jkimplanted");
    EXPECT_STREQ(map["home-1"].GetString(), home.c_str());
    for (const auto& [name, content] : entries) EXPECT_THAT(name, Not(HasSubstr("map.json")));

    ASSERT_EQ(result.not_packed.size(), 1u);
    EXPECT_EQ(result.not_packed[0].name, dir / "logs/crash.dmp");

    // Only the archive, its checksum and its map stay behind; the staging copies are gone.
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(fs_path(dir / "collect")))
        left.push_back(dir / "collect/" + utf8_of(e.path().filename()));
    std::sort(left.begin(), left.end());
    EXPECT_THAT(left, ::testing::ElementsAre(result.archive_path, result.archive_path + ".map.json",
                                             result.archive_path + ".sha256"));
    EXPECT_EQ(read_file_bytes(result.archive_path + ".sha256"),
              result.archive_sha256 + "  " + fs_path(result.archive_path).filename().string() + "\n");
}

TEST_F(BundleSaveLog, WithoutRedactionBinariesAndTextsGoInAsTheyAre) {
    inputs.bundle.max_file_size = 30;
    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written);
    EXPECT_TRUE(result.redaction_map_path.empty());
    EXPECT_FALSE(fs::exists(result.archive_path + ".map.json"));
    const auto entries = unpack_all(result.archive_path, dir.path());
    EXPECT_EQ(entries.at("Quenmora_log.zip!crash.dmp").size(), 19u);
    EXPECT_EQ(entries.at("Quenmora_log.zip!sub/198.51.100.23_jkimplanted.log"), "from 198.51.100.23\n");
    EXPECT_EQ(entries.count("Quenmora_log.zip!agent.log"), 0u);
    ASSERT_EQ(result.not_packed.size(), 1u);
    EXPECT_EQ(result.not_packed[0].name, dir / "logs/agent.log");
    EXPECT_THAT(result.not_packed[0].reason, HasSubstr("larger than the limit of 30 bytes"));
}

TEST_F(BundleSaveLog, TheWindowsDefaultsLeaveNothingBesideTheArchive) {
    inputs.bundle = BundleOptions{};
    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written);
    EXPECT_TRUE(result.archive_sha256.empty());
    EXPECT_FALSE(fs::exists(result.archive_path + ".sha256"));
    EXPECT_TRUE(result.not_packed.empty());
}

// The corpus in every form a log folder holds: text, UTF-16 of both byte orders, padded with zero
// bytes, gzip-packed, in a rotated ZIP archive with another archive inside; and as the command outputs.
TEST_F(BundleSaveLog, EveryPlantedFormIsRedactedInEveryEncodingAndContainer) {
    const std::string corpus = redaction_corpus::text(home);
    inputs.identity = redaction_corpus::identity(home);
    inputs.run_command = [&corpus](const std::string&, int) { return corpus; };
    inputs.bundle.redact = true;
    fs::remove_all(dir / "logs");
    fs::create_directories(dir / "logs/old");
    write_file_bytes(dir / "logs/plain.log", corpus);
    write_file_bytes(dir / "logs/utf16le.log", "\xFF\xFE" + utf16(corpus, false));
    write_file_bytes(dir / "logs/utf16be.log", utf16(corpus, true));
    write_file_bytes(dir / "logs/padded.log", std::string(20000, '\0') + corpus + std::string(4096, '\0'));
    write_file_bytes(dir / "logs/old/plain.log.gz", gzip(corpus) + gzip(corpus));
    write_file_bytes(dir / "logs/crash.dmp", std::string("MDMP\0\x01\0\x02 nothing private", 24));
    write_file_bytes(dir / "inner.log", utf16(corpus, false));
    ZipHandle inner = ZipCreate(dir / "inner.zip");
    ASSERT_EQ(ZipAddFile(inner, "jkimplanted/198.51.100.23.log", dir / "inner.log"), kZipOk);
    ASSERT_EQ(ZipClose(inner), kZipOk);
    ZipHandle rotated = ZipCreate(dir / "logs/old/rotated.zip");
    ASSERT_EQ(ZipAddFile(rotated, "plain.log", dir / "logs/plain.log"), kZipOk);
    ASSERT_EQ(ZipAddFile(rotated, "inner.zip", dir / "inner.zip"), kZipOk);
    ASSERT_EQ(ZipClose(rotated), kZipOk);

    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written);
    std::map<std::string, std::string> entries = unpack_all(result.archive_path, dir.path());
    ASSERT_TRUE(entries.count("Quenmora_log.zip!old/rotated.zip!inner.zip!user-1/ip-1.log"));
    const std::string gz = "Quenmora_log.zip!old/plain.log.gz";
    ASSERT_TRUE(entries.count(gz));
    entries[gz + "!"] = gunzip(entries[gz]);
    entries["systeminfo.txt!"] = decode_system_info(entries["systeminfo.txt"]);

    for (const auto& [name, stored] : entries) {
        const std::vector<std::string> texts = decodings(name + "\n" + stored);
        for (const auto& spellings : redaction_corpus::planted(home))
            for (const std::string& value : spellings)
                EXPECT_TRUE(std::none_of(texts.begin(), texts.end(),
                                         [&](const std::string& text) {
                                             return text.find(ascii_lower(value)) != std::string::npos;
                                         }))
                    << name << " holds " << value;
    }
    for (const std::string& kept : redaction_corpus::kept()) {
        EXPECT_THAT(entries["Quenmora_log.zip!plain.log"], HasSubstr(kept));
        EXPECT_THAT(entries[gz + "!"], HasSubstr(kept));
    }
    EXPECT_THAT(entries["Quenmora_log.zip!plain.log"],
                HasSubstr("DHCPv6 Client DUID. . . . . . . . : 00-01-00-01-2A-3B-4C-5D-mac-"));

    // The map beside the bundle holds one spelling of every value replaced.
    rapidjson::Document map;
    ASSERT_FALSE(map.Parse(read_file_bytes(result.redaction_map_path).c_str()).HasParseError());
    std::set<std::string> values;
    for (const auto& token : map.GetObject()) values.insert(ascii_lower(token.value.GetString()));
    for (const auto& spellings : redaction_corpus::planted(home))
        EXPECT_TRUE(std::any_of(spellings.begin(), spellings.end(), [&](const std::string& v) {
            return values.count(ascii_lower(v)) > 0;
        })) << spellings[0];

    // The binary went in as it was, and the user is told so wherever a file left out is named.
    ASSERT_EQ(result.packed_unredacted.size(), 1u);
    EXPECT_EQ(result.packed_unredacted[0].name, dir / "logs/crash.dmp");
    EXPECT_EQ(result.packed_unredacted[0].reason, "binary");
    const std::string& page = entries["check_result.html"];
    EXPECT_THAT(page, HasSubstr("Files packed unredacted"));
    // The page reads each packed log's facts before its staged copy goes: none shows 0 bytes.
    const std::regex nested_row(
        R"(<tr class="nested"><td>([^<]*)</td><td>[^<]*</td><td class="num">([^<]*)</td><td>([^<]*)</td>)");
    int rows = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), nested_row); it != std::sregex_iterator();
         ++it, ++rows) {
        EXPECT_NE((*it)[2], "0") << (*it)[1];
        EXPECT_NE((*it)[3], "") << (*it)[1];
    }
    EXPECT_EQ(rows, 7);
}

#ifndef _WIN32
// A named pipe is never opened for reading (with redaction that used to hang the collection), and a
// file that grows past --max-file-size while it is read stays out: /proc files announce no size and
// then bring their text, as a log does that is written to while it is packed.
TEST_F(BundleSaveLog, APipeOrAFileGrowingPastTheLimitStaysOutWithItsReason) {
    ASSERT_EQ(mkfifo((dir / "logs/sub/pipe.log").c_str(), 0600), 0);
    fs::create_symlink("/proc/self/status", fs_path(dir / "logs/growing.log"));
    inputs.bundle.max_file_size = 64;
    for (const bool redact : {false, true}) {
        SCOPED_TRACE(redact ? "redacted" : "as it is");
        inputs.bundle.redact = redact;
        const SaveLogResult result = thread_save_log(inputs, observer);
        ASSERT_TRUE(result.archive_written);
        std::map<std::string, std::string> reasons;
        for (const NotPackedFile& file : result.not_packed) reasons[fs_path(file.name).filename().string()] = file.reason;
        EXPECT_THAT(reasons["pipe.log"], HasSubstr("not a regular file"));
        EXPECT_EQ(reasons["growing.log"], "grew past the limit of 64 bytes while it was read");
        const auto entries = unpack_all(result.archive_path, dir.path());
        for (const auto& [name, content] : entries) {
            EXPECT_THAT(name, Not(HasSubstr("pipe.log")));
            EXPECT_THAT(name, Not(HasSubstr("growing.log")));
        }
    }
}
#endif

// The checksum file and the redaction map are part of what was asked for: a bundle without them is told
// as a failure, and the archive itself stays.
TEST_F(BundleSaveLog, AChecksumOrMapThatCannotBeWrittenIsAFailure) {
    inputs.bundle.redact = true;
    // Folders stand where the two files of any archive made in the next minute would go.
    const auto now = std::chrono::system_clock::now();
    for (int second = -1; second < 60; ++second) {
        const std::time_t t = std::chrono::system_clock::to_time_t(now + std::chrono::seconds(second));
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", std::localtime(&t));
        for (const char* beside : {".sha256", ".map.json"})
            fs::create_directories(fs_path(dir / "collect/Quenmora_" + stamp + ".zip" + beside + "/in the way"));
    }
    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written);
    EXPECT_TRUE(fs::is_regular_file(fs_path(result.archive_path)));
    EXPECT_THAT(result.sidecar_failure, HasSubstr("the checksum file " + result.archive_path + ".sha256"));
    EXPECT_THAT(result.sidecar_failure, HasSubstr("the redaction map " + result.archive_path + ".map.json"));
}
