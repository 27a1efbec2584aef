// Running commands through the POSIX shell (the Windows half, through cmd.exe, has its own test).
#include <gtest/gtest.h>

#include <chrono>
#include <stop_token>

#include "sys/run_and_capture.h"

TEST(RunAndCapture, OutputAndErrorInOnePipe) {
    EXPECT_EQ(run_and_capture("true"), "");
    EXPECT_EQ(run_and_capture("echo out; echo err 1>&2; echo again"), "out\nerr\nagain\n");
    EXPECT_EQ(run_and_capture("printf 'a\\r\\nb\\rc\\r\\n'"), "a\nb\rc\n");
    EXPECT_EQ(run_and_capture("exit 3"), "");
    EXPECT_EQ(run_and_capture("no-such-command-anywhere 2>/dev/null"), "");
}

TEST(RunAndCapture, ReadsLargeOutputToTheEnd) {
    std::string out = run_and_capture("head -c 300000 /dev/zero | tr '\\0' x");
    EXPECT_EQ(out.size(), 300000u);
    EXPECT_EQ(out.find_first_not_of('x'), std::string::npos);
}

TEST(RunAndCapture, TimeLimitKillsAHungCommandAndKeepsItsOutput) {
    auto start = std::chrono::steady_clock::now();
    std::string out = run_and_capture("echo started; sleep 30; echo never", 300);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(out, "started\n");
    EXPECT_LT(elapsed, std::chrono::seconds(10));
}

TEST(RunAndCapture, TimeLimitReachesWhatTheCommandStarted) {
    // The shell exits at once but leaves a child holding the pipe open; a command that closes its
    // output and lingers must not hold the caller either.
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run_and_capture("sleep 30 & echo spawned", 300), "spawned\n");
    EXPECT_EQ(run_and_capture("exec >/dev/null 2>&1; sleep 30", 300), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(RunAndCapture, CommandDoesNotReadOurInput) {
    EXPECT_EQ(run_and_capture("cat; echo done", 5000), "done\n");
}

TEST(RunAndCapture, AStopKillsTheCommandAndWhatItStartedAtOnce) {
    std::stop_source stop;
    stop.request_stop();
    const auto started = std::chrono::steady_clock::now();
    const std::string out = run_and_capture("echo before; (sleep 30; echo child) & sleep 30", 60000, stop.get_token());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(out.find("child"), std::string::npos);
}
