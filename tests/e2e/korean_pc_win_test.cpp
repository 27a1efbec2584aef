// checktool-cli as a Korean user has it: Windows in code page 949, a Hangul account (so Hangul in the
// profile and every folder under it), the program unpacked into a Hangul folder with a space, check
// lists saved by Notepad and PowerShell, and the output read through a pipe. scripts/wine-run --korean
// gives this test such a Wine prefix.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <filesystem>

#include "net/http_body_sink.h"
#include "sys/fs_path.h"
#include "sys/user_identity.h"
#include "sys/win/wide_text.h"
#include "tests/e2e/bundle_reading_support.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const std::string kBuiltCli = std::string(CHECKTOOL_BINARY_DIR) + "/cli/checktool-cli.exe";
const std::string kTitle = "Quenmora 한국 지사";

void write_all(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs_path(path).parent_path());
    write_file_bytes(path, bytes);
}

// What PowerShell 5's ">" writes: UTF-16, little-endian, with its byte-order mark.
std::string powershell_utf16(const std::string& utf8) {
    const std::wstring units = widen(utf8);
    return "\xFF\xFE" +
           std::string(reinterpret_cast<const char*>(units.data()), units.size() * sizeof(wchar_t));
}

}  // namespace

TEST(KoreanPc, TheCliInAHangulFolderDiagnosesPacksAndPrintsUtf8) {
    const std::string profile = forward_slashes(current_user_identity().home);
    ASSERT_THAT(profile, HasSubstr("홍길동")) << "run under scripts/wine-run --korean";

    // The program where a Korean user unpacks it.
    const std::string folder = profile + "/Desktop/새 폴더";
    fs::remove_all(fs_path(folder));
    fs::create_directories(fs_path(folder));
    const std::string cli = folder + "/checktool-cli.exe";
    fs::copy_file(fs_path(kBuiltCli), fs_path(cli));

    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(lab_check_list(""), R"("relays": [{"name": "session"}],
        "http": [{"name": "web", "steps": [{"status": 200}]}])")))
        << lab.error();
    // The product's logs, with Hangul names and bytes that are not text.
    const std::string product = forward_slashes(lab.folder()) + "/퀜모라 제품";
    const std::string agent_log = "\xEF\xBB\xBF에이전트 시작\r\n" + std::string("\0\xFF\xFE\x80", 4);
    write_all(product + "/로그/에이전트 기록.log", agent_log);
    write_all(product + "/로그/세션 폴더/세션.log", "세션 연결됨\n");
    const std::string list = R"({"product title": ")" + kTitle + R"(", "product path agent": ")" + product +
                             R"(", "product path viewer": ")" + product + R"(/뷰어", "agent log path": ")" +
                             product + R"(/로그", "web": ["127.0.0.1:)" + std::to_string(lab.port("web")) +
                             R"("], "session": ["127.0.0.1:)" + std::to_string(lab.port("session")) +
                             R"("]})";

    // Saved by Notepad as "UTF-8 (BOM)", at a Hangul path: a full diagnosis with the bundle, in JSON.
    const std::string notepad_list = folder + "/점검 목록 (메모장).json";
    write_all(notepad_list, "\xEF\xBB\xBF" + list);
    const ChildOutcome packed = run_to_end({cli, "--check-list", notepad_list, "--save-log", "--json"});
    EXPECT_EQ(valid_utf8(packed.out), packed.out) << "a pipe gets UTF-8";
    rapidjson::Document json;
    ASSERT_FALSE(json.Parse(packed.out.c_str()).HasParseError()) << packed.out;
    EXPECT_EQ(forward_slashes(json["check_list_source"].GetString()), "file:" + notepad_list);
    EXPECT_EQ(json["product_title"].GetString(), kTitle);
    const auto& items = json["items"];
    ASSERT_EQ(items.Size(), 3u) << packed.out;
    // Wine's accounts all have privilege 0: the account check's verdict is Wine's, not ours.
    EXPECT_EQ(packed.status, items[0]["result"].GetInt() == 0 ? 0 : 1);
    for (rapidjson::SizeType i = 1; i < items.Size(); ++i) EXPECT_EQ(items[i]["result"].GetInt(), 0) << i;
    EXPECT_EQ(items[2]["name"].GetString(), std::string("웹 서버"));

    // The bundle under the Hangul profile, the product's logs in it byte for byte.
    ASSERT_TRUE(json["archive"].IsString()) << packed.out;
    const std::string archive = json["archive"].GetString();
    EXPECT_THAT(forward_slashes(archive), StartsWith(profile + "/"));
    EXPECT_THAT(archive, HasSubstr(kTitle + "_"));
    const std::string unpacked = forward_slashes(lab.folder()) + "/풀린 묶음";
    ASSERT_TRUE(unpack_all(archive, unpacked));
    const std::string logs = unpacked + "/" + kTitle + "_log.zip.d";
    EXPECT_EQ(read_file_bytes(logs + "/에이전트 기록.log"), agent_log);
    EXPECT_EQ(read_file_bytes(logs + "/세션 폴더/세션.log"), "세션 연결됨\n");
    for (const std::string& made : {archive, archive + ".sha256"}) fs::remove(fs_path(made));

    // The tool's own log beside the program.
    std::string log_text;
    for (const auto& entry : fs::directory_iterator(fs_path(folder + "/Log")))
        log_text += read_file_bytes(utf8_of(entry.path()));
    EXPECT_THAT(log_text, HasSubstr("==================== Program Start ===================="));
    EXPECT_THAT(log_text, HasSubstr("새 폴더"));

    // Saved by PowerShell 5 ("> 목록.json"): UTF-16. Plain text into a pipe, Korean intact.
    const std::string powershell_list = profile + "/Documents/점검 목록.json";
    write_all(powershell_list, powershell_utf16(list));
    const ChildOutcome plain = run_to_end({cli, "--check-list", powershell_list});
    EXPECT_EQ(valid_utf8(plain.out), plain.out);
    EXPECT_THAT(plain.out, StartsWith(kTitle + " Check Tool (ver. "));
    EXPECT_THAT(plain.out, HasSubstr("\n웹|"));
    EXPECT_THAT(plain.out, HasSubstr("\nchecks: 3, failures: "));
    EXPECT_EQ(plain.status, packed.status);

    fs::remove(fs_path(powershell_list));
    fs::remove_all(fs_path(folder));
}
