#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

#include "engine/save_log.h"
#include "engine/system_commands.h"
#include "log/CSCLog.h"
#include "report/file_inventory.h"
#include "report/result_report.h"
#include "report/zip_writer.h"
#include "res/report_texts.h"
#include "res/string_table.h"
#include "sys/exe_facts.h"
#include "sys/fs_path.h"
#include "sys/run_and_capture.h"
#include "sys/text_convert.h"
#include "tests/base64_decoding.h"
#include "tests/link_planting.h"
#include "tests/regex_matchers.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;
using regex_matchers::MatchesRegex;
using ::testing::ElementsAre;

namespace {

// What the stand-in for the system's commands prints: the program's name.
std::string fake_output(const std::string& command) {
    return "output of " + command.substr(0, command.find(' ')) + "\n";
}

// Remembers every call, in order, as a short text.
class RecordingObserver : public SaveLogObserver {
public:
    void set_window_enabled(bool enabled) override { calls.push_back(enabled ? "enable" : "disable"); }
    void step_progress() override {
        calls.push_back("step");
        if (at_step) at_step(std::count(calls.begin(), calls.end(), "step"));
    }
    void pack_progress(uint64_t, uint64_t) override {
        if (at_pack) at_pack();
    }
    void finish_progress() override { calls.push_back("finish"); }
    void show_message(const std::string& text) override {
        calls.push_back("message");
        messages.push_back(text);
    }
    void reveal_archive(const std::string& path) override {
        calls.push_back("reveal");
        revealed = path;
    }
    std::vector<std::string> calls;
    std::vector<std::string> messages;
    std::string revealed;
    std::function<void(std::ptrdiff_t step)> at_step;  // after the step's call is recorded
    std::function<void()> at_pack;
};

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(fs_path(folder)))
        names.push_back(utf8_of(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// A path under `root` exactly `length` characters long: folders of 200 characters, then a shorter name.
std::string path_of_length(const std::string& root, std::size_t length) {
    std::string path = root;
    while (path.size() + 202 <= length) path += "/" + std::string(200, 'd');
    return path + "/" + std::string(length - path.size() - 1, 'e');
}

// The longest path of a file the system lets us create under `root`, found by trying: Windows under
// Wine allows less than Linux, as its drive sits deeper in the Unix tree.
std::size_t longest_file_path(const std::string& root) {
    std::size_t fits = root.size() + 2, too_long = 40000;
    while (too_long - fits > 1) {
        const std::size_t middle = (fits + too_long) / 2;
        const fs::path file = fs_path(path_of_length(root, middle));
        std::error_code failed;
        fs::create_directories(file.parent_path(), failed);
        (std::ofstream(file) ? fits : too_long) = middle;
    }
    return fits;
}

class SaveLog : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(fs_path(dir / "agent_logs/2024/03"));
        write_file_bytes(dir / "agent_logs/agent.log", "agent log\n");
        write_file_bytes(dir / "agent_logs/2024/03/old.log", "old log\n");
        fs::create_directories(fs_path(dir / "viewer_logs"));
        write_file_bytes(dir / "viewer_logs/viewer.log", "viewer log\n");
        fs::create_directories(fs_path(dir / "program"));
        write_file_bytes(dir / "program/agent.bin", "binary");
        fs::create_directories(fs_path(dir / "public"));

        inputs.profile.product_title = "Quenmora";
        inputs.profile.product_path_agent = dir / "program";
        inputs.profile.agent_log_path = dir / "agent_logs";
        inputs.profile.viewer_log_path = dir / "viewer_logs";
        inputs.rows = ReportRowTable(2, {{"세션", "Ok"}});
        inputs.collection_folder = dir / "local/Temp";
        inputs.all_users_folder = dir / "public";
        inputs.monitors = std::vector<Rect>{};
        inputs.run_command = [](const std::string& command, int timeout_ms) {
            EXPECT_EQ(timeout_ms, 120000);
            return fake_output(command);
        };
    }

    ScratchFolder dir;
    SaveLogInputs inputs;
    RecordingObserver observer;
};

}  // namespace

TEST_F(SaveLog, LeavesOnlyTheFinalArchiveWithEverythingInIt) {
    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written);
    const std::string folder = dir / "local/Temp";
    const std::vector<std::string> left = files_in(folder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_THAT(left[0], MatchesRegex("Quenmora_[0-9]{14}\\.zip"));
    EXPECT_EQ(result.archive_path, folder + "/" + left[0]);
    EXPECT_EQ(observer.revealed, result.archive_path);
    EXPECT_TRUE(observer.messages.empty());

    std::vector<std::string> expected_calls = {"disable"};
    expected_calls.insert(expected_calls.end(), kSaveLogSteps, "step");
    expected_calls.insert(expected_calls.end(), {"reveal", "finish", "enable"});
    EXPECT_EQ(observer.calls, expected_calls);

    EXPECT_TRUE(info_zip_accepts(result.archive_path));
    EXPECT_THAT(
        zipinfo_names(result.archive_path),
        ElementsAre("check_result.txt", "fileinfo_agent_app.txt", "systeminfo.txt", "tasklist.txt",
                    "ipconfig.txt", "Quenmora_log.zip", "Quenmora_log_viewer.zip", "check_result.html"));
    EXPECT_EQ(unzip_entry(result.archive_path, "systeminfo.txt"),
              base64_encode(fake_output(kSystemInfoCommand)) + std::string(1, '\0'));
    std::string task_list = fake_output(kTaskListCommand);
    task_list.insert(task_list.size() - 1, "\r");
    EXPECT_EQ(unzip_entry(result.archive_path, "tasklist.txt"), "\xEF\xBB\xBF" + task_list);
    EXPECT_THAT(unzip_entry(result.archive_path, "check_result.txt"),
                ::testing::HasSubstr("[Server Check Result]\r\n000  세션    Ok    \r\n\r\n"));

    // The nested log archives hold exactly the files of their folders.
    const std::string nested = dir / "nested.zip";
    write_file_bytes(nested, unzip_entry(result.archive_path, "Quenmora_log.zip"));
    EXPECT_TRUE(info_zip_accepts(nested));
    EXPECT_THAT(zipinfo_names(nested), ElementsAre("2024/03/", "2024/03/old.log", "agent.log"));
    EXPECT_EQ(unzip_entry(nested, "2024/03/old.log"), "old log\n");
    write_file_bytes(nested, unzip_entry(result.archive_path, "Quenmora_log_viewer.zip"));
    EXPECT_THAT(zipinfo_names(nested), ElementsAre("viewer.log"));
}

TEST_F(SaveLog, ViewerPathDifferingOnlyInCaseGivesOneLogArchive) {
    inputs.profile.viewer_log_path = dir / "AGENT_LOGS";
    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written);
    EXPECT_THAT(zipinfo_names(result.archive_path), ::testing::Contains("Quenmora_log.zip"));
    EXPECT_THAT(zipinfo_names(result.archive_path),
                ::testing::Not(::testing::Contains("Quenmora_log_viewer.zip")));
    EXPECT_EQ(files_in(dir / "local/Temp").size(), 1u);
}

TEST_F(SaveLog, MissingAgentFolderIsToldOnceAndTheRunFinishes) {
    inputs.profile.agent_log_path = dir / "no_such_logs";
    inputs.profile.viewer_log_path.clear();
    const SaveLogResult result = thread_save_log(inputs, observer);
    EXPECT_THAT(observer.messages, ElementsAre(dir / "no_such_logs" + "\n위의 폴더가 존재하지 않습니다."));
    ASSERT_TRUE(result.archive_written);
    const std::vector<std::string> names = zipinfo_names(result.archive_path);
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[names.size() - 2], "ipconfig.txt") << "no log archive before the summary page";
    EXPECT_EQ(files_in(dir / "local/Temp").size(), 1u);
    EXPECT_EQ(observer.calls.back(), "enable");
}

TEST_F(SaveLog, UnwritableCollectionFolderStillEndsTheRunAndTellsTheArchiveFailed) {
    write_file_bytes(dir / "blocker", "a file where the folder should go");
    inputs.collection_folder = dir / "blocker/Temp";
    const SaveLogResult result = thread_save_log(inputs, observer);
    EXPECT_FALSE(result.archive_written);
    EXPECT_THAT(result.failure, ::testing::HasSubstr("could not be created"));
    EXPECT_TRUE(result.left_behind.empty());
    EXPECT_THAT(observer.messages,
                ElementsAre(load_string(text::kReportNotCreated), load_string(text::kInventoryNotCreated),
                            result.archive_path + "\n위의 압축 파일을 생성할 수 없습니다."));
    EXPECT_EQ(observer.revealed, result.archive_path) << "the file manager still opens";
    EXPECT_EQ(std::count(observer.calls.begin(), observer.calls.end(), "step"), kSaveLogSteps);
    EXPECT_EQ(observer.calls.back(), "enable");
}

TEST_F(SaveLog, AnArchiveThatCannotBeCreatedLeavesTheCollectedFilesAndSaysSo) {
    // A collection folder so deep that the collected files in its working folder ("/collecting-" and
    // 16 hexadecimal digits) still fit the path limit but the archive's longer name does not.
    const std::string folder = path_of_length(dir.path(), longest_file_path(dir / "probe") - 25 - 28);
    inputs.collection_folder = folder;
    inputs.profile.viewer_log_path.clear();

    const SaveLogResult result = thread_save_log(inputs, observer);
    EXPECT_FALSE(result.archive_written);
    std::error_code too_long;
    EXPECT_FALSE(fs::exists(fs_path(result.archive_path), too_long));
    EXPECT_THAT(observer.messages,
                ElementsAre(result.archive_path + "\n위의 압축 파일을 생성할 수 없습니다."));
    ASSERT_FALSE(result.left_behind.empty());
    const std::string work = result.left_behind.front().substr(0, result.left_behind.front().rfind('/'));
    EXPECT_EQ(work.substr(0, work.rfind('/')), folder);
    const std::vector<std::string> expected_left = {
        work + "/check_result.txt", work + "/fileinfo_agent_app.txt", work + "/systeminfo.txt",
        work + "/tasklist.txt",     work + "/ipconfig.txt",           work + "/Quenmora_log.zip"};
    EXPECT_EQ(result.left_behind, expected_left);
    EXPECT_EQ(observer.revealed, expected_left.front()) << "the file manager shows what was collected";
#ifndef _WIN32  // MinGW's directory listing does not open a folder this long (it lists another)
    EXPECT_EQ(files_in(work).size(), expected_left.size()) << "nothing deleted, nothing else left";
#endif
    EXPECT_THAT(read_file_bytes(g_log->path()), ::testing::HasSubstr(result.failure));
}

TEST_F(SaveLog, AVeryLongProductTitleStillGivesAnArchive) {
    std::string title;
    for (int i = 0; i < 10000; ++i) title += "가";
    inputs.profile.product_title = title;
    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written) << result.failure;
    EXPECT_TRUE(observer.messages.empty());
    const std::string name = split_path(result.archive_path, 5);
    EXPECT_LE(name.size(), 255u);
    EXPECT_THAT(name, MatchesRegex("(가)+_[0-9]{14}\\.zip")) << "cut between characters";
    const std::vector<std::string> entries = zipinfo_names(result.archive_path);
    ASSERT_EQ(entries.size(), 8u);  // with the summary page
    for (const std::string& entry : entries) EXPECT_LE(entry.size(), 255u);
    EXPECT_EQ(files_in(dir / "local/Temp").size(), 1u);
}

TEST_F(SaveLog, TheFolderTestNeverFollowsALinkPlantedInTheSharedFolder) {
    SKIP_UNLESS_LINKS_CAN_BE_PLANTED();
    fs::create_directories(fs_path(dir / "victim"));
    write_file_bytes(dir / "victim/__test_for_create_file__.txt", "precious");
    fs::create_directory_symlink(fs_path(dir / "victim"), fs_path(dir / "public/__test_for_create_folder__"));
    const std::string lines = directory_test_text(dir / "public");
    EXPECT_THAT(lines, ::testing::StartsWith("folder create test (" +
                                             dir / "public/__test_for_create_folder__" + ") : failed\n"));
    EXPECT_EQ(read_file_bytes(dir / "victim/__test_for_create_file__.txt"), "precious");
    EXPECT_TRUE(fs::is_symlink(fs_path(dir / "public/__test_for_create_folder__")));
}

TEST_F(SaveLog, FilesThatCannotBePackedAreNamedInTheLog) {
#ifdef _WIN32
    GTEST_SKIP() << "no file that opens but cannot be read can be made here: Windows keeps named pipes "
                    "out of the file system and Wine keeps no access lists";
#endif
    const std::string fifo = dir / "agent_logs/pipe.log";
    run_and_capture("mkfifo '" + fifo + "'", 10000);
    ASSERT_TRUE(fs::is_fifo(fs_path(fifo)));
    EXPECT_TRUE(zip_folder(dir / "agent_logs", dir / "out.zip", observer));
    EXPECT_THAT(zipinfo_names(dir / "out.zip"), ElementsAre("2024/03/", "2024/03/old.log", "agent.log"));
    EXPECT_THAT(read_file_bytes(g_log->path()), ::testing::HasSubstr(fifo + " was not packed"));
}

TEST_F(SaveLog, TwoCollectionsAtOnceEachPackTheirOwnFilesUnderTheirOwnNames) {
    // Both have written their texts before either packs: each waits in its first command for the other.
    std::mutex lock;
    std::condition_variable arrived;
    int waiting = 0;
    inputs.run_command = [&](const std::string& command, int) {
        if (command == kSystemInfoCommand) {
            std::unique_lock<std::mutex> hold(lock);
            ++waiting;
            arrived.notify_all();
            EXPECT_TRUE(arrived.wait_for(hold, std::chrono::seconds(60), [&] { return waiting == 2; }));
        }
        return fake_output(command);
    };
    RecordingObserver other_observer;
    SaveLogResult other;
    std::thread second([&] { other = thread_save_log(inputs, other_observer); });
    SaveLogResult first = thread_save_log(inputs, observer);
    second.join();

    ASSERT_TRUE(first.archive_written);
    ASSERT_TRUE(other.archive_written);
    EXPECT_NE(first.archive_path, other.archive_path);
    for (SaveLogResult* result : {&first, &other})
        EXPECT_THAT(zipinfo_names(result->archive_path),
                    ElementsAre("check_result.txt", "fileinfo_agent_app.txt", "systeminfo.txt", "tasklist.txt",
                                "ipconfig.txt", "Quenmora_log.zip", "Quenmora_log_viewer.zip",
                                "check_result.html"));
    EXPECT_EQ(files_in(dir / "local/Temp").size(), 2u) << "the two archives, no working folder";
}

// A stop in any step, or while a log folder is packed, ends the collection quietly and leaves nothing:
// no archive, no working folder, no staging folder.
TEST_F(SaveLog, AStopInAnyStepLeavesNothingBehind) {
    for (std::ptrdiff_t stop_at = 1; stop_at <= kSaveLogSteps + 1; ++stop_at) {
        SCOPED_TRACE(stop_at);
        std::stop_source stop;
        inputs.stop = stop.get_token();
        inputs.bundle.redact = stop_at % 2 == 0;
        RecordingObserver stopping;
        if (stop_at > kSaveLogSteps)
            stopping.at_pack = [&] { stop.request_stop(); };
        else
            stopping.at_step = [&](std::ptrdiff_t step) {
                if (step == stop_at) stop.request_stop();
            };
        const SaveLogResult result = thread_save_log(inputs, stopping);
        EXPECT_TRUE(result.stopped);
        EXPECT_FALSE(result.archive_written);
        EXPECT_TRUE(stopping.messages.empty());
        EXPECT_TRUE(stopping.revealed.empty());
        EXPECT_EQ(stopping.calls.back(), "enable");
        EXPECT_TRUE(files_in(dir / "local/Temp").empty());
    }
}

// What could not go into the bundle is told as every file left out is, and the summary page does not
// list the files of a log archive that stayed out as packed.
TEST_F(SaveLog, ALogArchiveThatCannotGoInIsNamedAndItsFilesAreNotListedAsPacked) {
    inputs.profile.viewer_log_path.clear();
    const auto work_folder = [&] {
        for (const auto& entry : fs::directory_iterator(fs_path(dir / "local/Temp")))
            if (entry.is_directory()) return entry.path();
        return fs::path();
    };
    // Before the agent's logs are packed, something stands where their archive goes.
    observer.at_step = [&](std::ptrdiff_t step) {
        if (step == 8) fs::create_directories(work_folder() / "Quenmora_log.zip" / "in the way");
    };
    const SaveLogResult blocked = thread_save_log(inputs, observer);
    ASSERT_TRUE(blocked.archive_written);
    ASSERT_EQ(blocked.not_packed.size(), 1u);
    EXPECT_EQ(blocked.not_packed[0].name, dir / "agent_logs");
    EXPECT_THAT(blocked.not_packed[0].reason, ::testing::HasSubstr("its archive Quenmora_log.zip could not be written"));
    EXPECT_THAT(zipinfo_names(blocked.archive_path), ::testing::Not(::testing::Contains("Quenmora_log.zip")));

    // Before the agent's archive goes into the bundle, another writer holds it.
    ZipHandle holder = nullptr;
    RecordingObserver holding;
    holding.at_step = [&](std::ptrdiff_t step) {
        if (step == kSaveLogSteps) holder = ZipCreate(utf8_of(work_folder() / "Quenmora_log.zip"));
    };
    const SaveLogResult held = thread_save_log(inputs, holding);
    ZipDiscard(holder);
    ASSERT_TRUE(held.archive_written);
    ASSERT_EQ(held.not_packed.size(), 1u);
    EXPECT_THAT(held.not_packed[0].name, ::testing::EndsWith("/Quenmora_log.zip"));
    EXPECT_THAT(held.not_packed[0].reason, ::testing::HasSubstr("could not be added to the bundle"));
    EXPECT_THAT(read_file_bytes(g_log->path()), ::testing::HasSubstr(held.not_packed[0].name + " was not packed"));
    const std::string page = unzip_entry(held.archive_path, "check_result.html");
    EXPECT_THAT(page, ::testing::Not(::testing::HasSubstr("agent.log")));
    EXPECT_THAT(page, ::testing::HasSubstr("could not be added to the bundle"));
}

TEST(SaveLogNames, ArchiveNameCarriesTheTimeAndNoPathCharacters) {
    EXPECT_EQ(final_archive_name("Quenmora 3.0 SE", 2024, 3, 5, 14, 7, 9),
              "Quenmora 3.0 SE_20240305140709.zip");
    EXPECT_EQ(final_archive_name("../x\\y:z", 2024, 12, 31, 0, 0, 0), ".._x_y_z_20241231000000.zip");
}

namespace {

// Holds the worker inside its first step until released, so a second start can be tried meanwhile.
class GateObserver : public RecordingObserver {
public:
    void step_progress() override {
        std::unique_lock<std::mutex> hold(lock);
        if (!entered) {
            entered = true;
            changed.notify_all();
            changed.wait(hold, [this] { return released; });
        }
        RecordingObserver::step_progress();
    }
    void wait_entered() {
        std::unique_lock<std::mutex> hold(lock);
        changed.wait(hold, [this] { return entered; });
    }
    void release() {
        std::lock_guard<std::mutex> hold(lock);
        released = true;
        changed.notify_all();
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
};

}  // namespace

TEST_F(SaveLog, WorkerRunsOneCollectionAtATimeAndIsJoined) {
    GateObserver gate;
    SaveLogWorker worker;
    ASSERT_TRUE(worker.start(inputs, gate));
    gate.wait_entered();
    EXPECT_TRUE(worker.running());
    EXPECT_FALSE(worker.start(inputs, gate));
    gate.release();
    worker.wait();
    EXPECT_FALSE(worker.running());
    EXPECT_TRUE(worker.result().archive_written);
    EXPECT_EQ(gate.calls.back(), "enable");
    EXPECT_TRUE(fs::exists(fs_path(worker.result().archive_path)));
}

TEST_F(SaveLog, RealCommandsIntoTheDefaultCollectionFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "the collection runs Linux commands here; under Wine, systeminfo and tasklist print "
                    "nothing";
#else
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);  // the local application-data folder
    inputs.collection_folder.clear();
    inputs.run_command = nullptr;
    EXPECT_EQ(default_collection_folder(), dir / "data/Temp");

    const SaveLogResult result = thread_save_log(inputs, observer);
    ASSERT_TRUE(result.archive_written);
    EXPECT_EQ(result.archive_path.rfind(dir / "data/Temp/Quenmora_", 0), 0u);
    EXPECT_EQ(files_in(dir / "data/Temp").size(), 1u);

    const std::string system_info = unzip_entry(result.archive_path, "systeminfo.txt");
    ASSERT_FALSE(system_info.empty());
    EXPECT_EQ(system_info.back(), '\0');
    EXPECT_THAT(base64_decoded(system_info), ::testing::HasSubstr("Linux"));
    EXPECT_THAT(unzip_entry(result.archive_path, "tasklist.txt"), ::testing::HasSubstr("PID"));
    EXPECT_THAT(unzip_entry(result.archive_path, "ipconfig.txt"), ::testing::StartsWith("\xEF\xBB\xBF"));
    const std::string report = unzip_entry(result.archive_path, "check_result.txt");
    EXPECT_THAT(report, regex_matchers::ContainsRegex(R"(memory : [0-9,]+\.[0-9]GB / [0-9,]+\.[0-9]GB)"));
    EXPECT_THAT(report, regex_matchers::ContainsRegex(R"(disk / : [0-9,]+\.[0-9]GB / [0-9,]+\.[0-9]GB)"));
#endif
}
