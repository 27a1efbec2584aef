// Running commands through cmd.exe: the output of both streams, line ends, and the time limit that
// ends the whole tree the command started.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "sys/exe_facts.h"
#include "sys/run_and_capture.h"

using ::testing::HasSubstr;

namespace {

constexpr char kHangVariable[] = "CHECKTOOL_TEST_HANG";

// This test program started again as a command that reports its id and then hangs.
std::string hanging_copy_command() {
    return std::string("set ") + kHangVariable + "=1&& \"" + get_exe_path() +
           "\" --gtest_filter=RunAndCaptureWin.HangsWhenAsked";
}

}  // namespace

TEST(RunAndCaptureWin, HangsWhenAsked) {
    if (!std::getenv(kHangVariable)) GTEST_SKIP() << "only as the command of the time-limit test";
    std::printf("\nprocess %lu\n", GetCurrentProcessId());
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::minutes(5));
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
