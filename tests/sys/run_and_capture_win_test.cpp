// Running commands on Windows: through cmd.exe, the output of both streams, line ends, and the time
// limit that ends the whole tree the command started; for every child, the console code page it
// writes in and the handles it gets.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "sys/exe_facts.h"
#include "sys/run_and_capture.h"
#include "sys/win/program_capture.h"
#include "sys/win/wide_text.h"

using ::testing::HasSubstr;

namespace {

constexpr char kHangVariable[] = "CHECKTOOL_TEST_HANG";
constexpr char kChildVariable[] = "CHECKTOOL_TEST_CHILD";

// The start of a Korean systeminfo's output as it comes through the pipe, in code page 949.
constexpr char kRecordedKoreanOutput[] =
    "\xc8\xa3\xbd\xba\xc6\xae \xc0\xcc\xb8\xa7:           DESKTOP-7\r\n"
    "OS \xc0\xcc\xb8\xa7:                Microsoft Windows 11 Pro\r\n"
    "\xbd\xc3\xbd\xba\xc5\xdb \xba\xce\xc6\xc3 \xbd\xc3\xb0\xa3:       2024-03-05, \xbf\xc0\xc0\xfc "
    "9:12:40\r\n";

// This test program started again as a command that reports its id and then hangs.
std::string hanging_copy_command() {
    return std::string("set ") + kHangVariable + "=1&& \"" + get_exe_path() +
           "\" --gtest_filter=RunAndCaptureWin.HangsWhenAsked";
}

// This test program started directly as a child that does `task` (see DoesTheChildsTaskWhenAsked),
// its output read in code_page.
std::string run_child(const std::string& task, unsigned code_page = new_console_code_page()) {
    SetEnvironmentVariableA(kChildVariable, task.c_str());
    const std::wstring program = widen(get_exe_path());
    const std::string out = capture_program(
        program, L"\"" + program + L"\" --gtest_filter=RunAndCaptureWin.DoesTheChildsTaskWhenAsked", 60000,
        code_page);
    SetEnvironmentVariableA(kChildVariable, nullptr);
    return out;
}

// The number printed after `label` in the output, or -1.
long number_after(const std::string& output, const std::string& label) {
    const size_t at = output.find(label);
    return at == std::string::npos ? -1 : std::strtol(output.c_str() + at + label.size(), nullptr, 10);
}

}  // namespace

TEST(RunAndCaptureWin, HangsWhenAsked) {
    if (!std::getenv(kHangVariable)) GTEST_SKIP() << "only as the command of the time-limit test";
    std::printf("\nprocess %lu\n", GetCurrentProcessId());
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::minutes(5));
}

TEST(RunAndCaptureWin, DoesTheChildsTaskWhenAsked) {
    const char* task = std::getenv(kChildVariable);
    if (!task) GTEST_SKIP() << "only as the child of the tests below";
    const std::string what = task;
    std::string said;
    if (what == "code page") {
        said = "\ncode page " + std::to_string(GetConsoleOutputCP()) + "\n";
    } else if (what == "korean") {
        said = kRecordedKoreanOutput;
    } else if (what.rfind("handle ", 0) == 0) {
        // The parent's event is set: a handle that reaches us is signalled.
        const auto handle = reinterpret_cast<HANDLE>(std::strtoull(what.c_str() + 7, nullptr, 10));
        said = WaitForSingleObject(handle, 0) == WAIT_OBJECT_0 ? "\ninherited\n" : "\nnot inherited\n";
    }
    // Bytes as they are: the C library's text mode would add a CR to every LF.
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), said.data(), static_cast<DWORD>(said.size()), &written,
              nullptr);
}

TEST(RunAndCaptureWin, OutputOfBothStreamsWithUnixLineEnds) {
    EXPECT_EQ(run_and_capture("echo out& echo err>&2& echo again"), "out\nerr\nagain\n");
    EXPECT_EQ(run_and_capture("exit /b 3"), "");
    EXPECT_THAT(run_and_capture("echo \"quoted & kept\""), HasSubstr("\"quoted & kept\""));
}

TEST(RunAndCaptureWin, ReadsLargeOutputToTheEnd) {
    const std::string out = run_and_capture("for /L %i in (1,1,3000) do @echo " + std::string(100, 'x'));
    EXPECT_EQ(out.size(), 3000u * 101);
    EXPECT_EQ(out.find_first_not_of("x\n"), std::string::npos);
}

TEST(RunAndCaptureWin, CommandDoesNotReadOurInput) {
    EXPECT_EQ(run_and_capture("set /p line=& echo done", 5000), "done\n");
}

TEST(RunAndCaptureWin, TimeLimitEndsTheCommandAndWhatItStarted) {
    const auto start = std::chrono::steady_clock::now();
    const std::string out = run_and_capture(hanging_copy_command(), 3000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    const size_t at = out.find("process ");
    ASSERT_NE(at, std::string::npos) << out;
    const DWORD id = std::strtoul(out.c_str() + at + 8, nullptr, 10);
    HANDLE grandchild = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (grandchild) {
        EXPECT_EQ(WaitForSingleObject(grandchild, 10000), WAIT_OBJECT_0) << "the hung program was ended";
        CloseHandle(grandchild);
    }
}

TEST(RunAndCaptureWin, OutputIsReadInTheCodePageOfTheChildsConsoleNotOurs) {
    // Our own console set to UTF-8, as a user's terminal may be: the child's console is another.
    AllocConsole();
    const UINT ours = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    const std::string out = run_child("code page");
    SetConsoleOutputCP(ours);
    EXPECT_EQ(number_after(out, "code page "), static_cast<long>(new_console_code_page())) << out;
    EXPECT_NE(new_console_code_page(), static_cast<unsigned>(CP_UTF8)) << "the test would tell nothing";

    EXPECT_THAT(run_child("korean", 949), HasSubstr("호스트 이름:           DESKTOP-7\n"
                                                    "OS 이름:                Microsoft Windows 11 Pro\n"
                                                    "시스템 부팅 시간:       2024-03-05, 오전 9:12:40\n"));
}

TEST(RunAndCaptureWin, OnlyThePipeReachesTheChild) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE event = CreateEventW(&inheritable, TRUE, TRUE, nullptr);
    ASSERT_NE(event, nullptr);
    const std::string out = run_child("handle " + std::to_string(reinterpret_cast<uintptr_t>(event)));
    CloseHandle(event);
    EXPECT_THAT(out, HasSubstr("\nnot inherited\n"));
}
