// What a program's main() ends with, however its body ends.
#include "sys/program_main.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(ProgramMain, TheBodysStatusOrForAnEscapedExceptionAMessageAndStatus70) {
    char name[] = "tool";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(run_program_main(
                  1, argv, "tool",
                  [](const std::vector<std::string>& arguments) { return arguments.empty() ? -1 : 3; }),
              3);

    ::testing::internal::CaptureStderr();
    const int status = run_program_main(1, argv, "tool", [](const std::vector<std::string>&) -> int {
        throw std::runtime_error("filesystem error: cannot convert character sequence");
    });
    EXPECT_EQ(status, 70);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "tool: unexpected failure: filesystem error: cannot convert character sequence\n");

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(run_program_main(1, argv, "tool", [](const std::vector<std::string>&) -> int { throw 42; }),
              70);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "tool: unexpected failure: an exception of an unknown type\n");
}
