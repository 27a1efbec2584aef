// checktool-cli --help and --version: what they print, that every flag --help names is one the
// command line accepts, and that they leave no log behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "build_config.h"
#include "tests/e2e/child_process.h"

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const std::string kCli = std::string(CHECKTOOL_BINARY_DIR) + "/cli/checktool-cli";

ChildOutcome run_cli(const std::vector<std::string>& flags) {
    std::vector<std::string> args = {kCli};
    args.insert(args.end(), flags.begin(), flags.end());
    return run_to_end(args);
}

// The bytes of every log file beside the program: a new file and a record appended both show.
uintmax_t log_bytes_beside_cli() {
    const std::filesystem::path folder = std::filesystem::path(kCli).parent_path() / "Log";
    std::error_code ec;
    uintmax_t bytes = 0;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        bytes += it->file_size(ec) + 1;
    return bytes;
}

}  // namespace

TEST(CheckToolCliHelp, HelpShowsUsageFlagsAndExitStatusesAndVersionShowsTheBuild) {
    const ChildOutcome help = run_cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, StartsWith("usage: checktool-cli [--web-host HOST] [--web-port PORT]"));
    for (const char* line : {"\n  --json ", "\n  --save-log ", "\n  --version ", "\nExit status:\n",
                             "\n  0    every check passed\n", "\n  64   bad usage\n", "\n  130  "})
        EXPECT_THAT(help.out, HasSubstr(line));

    const ChildOutcome version = run_cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("checktool-cli ") + CHECKTOOL_VERSION + "\n");
}

TEST(CheckToolCliHelp, EveryFlagHelpNamesIsAccepted) {
    const ChildOutcome help = run_cli({"--help"});
    const std::regex flag_line(R"(\n  (--[a-z-]+)( [A-Z]+)?  )");
    int flags = 0;
    for (std::sregex_iterator it(help.out.begin(), help.out.end(), flag_line), end; it != end; ++it) {
        // --version ends the run once the whole command line has been accepted.
        std::vector<std::string> args = {(*it)[1].str()};
        if ((*it)[2].matched) args.push_back("1");
        args.push_back("--version");
        EXPECT_EQ(run_cli(args).status, 0) << (*it)[0].str();
        ++flags;
    }
    EXPECT_GE(flags, 6);
}

TEST(CheckToolCliHelp, HelpAndVersionLeaveNoLogAndBadUsageStillFails) {
    const uintmax_t logs = log_bytes_beside_cli();
    EXPECT_EQ(run_cli({"--help"}).status, 0);
    EXPECT_EQ(run_cli({"--version"}).status, 0);
    EXPECT_EQ(log_bytes_beside_cli(), logs);
    EXPECT_EQ(run_cli({"--version", "--no-such-flag"}).status, 64)
        << "a bad command line is told, even with --version";
}
