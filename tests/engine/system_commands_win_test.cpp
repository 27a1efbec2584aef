// The bundle's system commands on Windows are the system's own programs, run through cmd.exe. Wine's
// systeminfo and tasklist print nothing, so only ipconfig's output can be checked here.
#include <gtest/gtest.h>

#include "engine/system_commands.h"
#include "sys/run_and_capture.h"

TEST(SystemCommandsWin, AreTheSystemsOwnPrograms) {
    EXPECT_STREQ(kSystemInfoCommand, "systeminfo");
    EXPECT_STREQ(kTaskListCommand, "tasklist");
    EXPECT_STREQ(kNetworkCommand, "ipconfig /all");
}

TEST(SystemCommandsWin, NetworkCommandTellsTheInterfaces) {
    const std::string output = run_and_capture(kNetworkCommand, 60000);
    EXPECT_NE(output.find("IP"), std::string::npos) << output;
    EXPECT_EQ(output.find('\r'), std::string::npos) << "line ends are the tool's own";
}
