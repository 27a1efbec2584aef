// How the system is named from the registry's facts: Windows 11 keeps "Windows 10" in its product
// name, so the build number decides.
#include <gtest/gtest.h>

#include "sys/machine_identity.h"
#include "sys/win/windows_release.h"

TEST(WindowsReleaseWin, BuildsFrom22000OnAreWindows11) {
    EXPECT_EQ(windows_release_name({"Windows 10 Pro", "26100", "24H2", 2894}),
              "Windows 11 Pro 24H2, build 26100.2894");
    EXPECT_EQ(windows_release_name({"Windows 10 Enterprise", "22000", "21H2", 0}),
              "Windows 11 Enterprise 21H2, build 22000");
    EXPECT_EQ(windows_release_name({"Windows 10 Pro", "19045", "22H2", 5247}),
              "Windows 10 Pro 22H2, build 19045.5247");
    EXPECT_EQ(windows_release_name({"Windows Server 2025 Datacenter", "26100", "24H2", 1}),
              "Windows Server 2025 Datacenter 24H2, build 26100.1")
        << "only the client's name is wrong in the registry";
}

TEST(WindowsReleaseWin, MissingFactsAreLeftOut) {
    EXPECT_EQ(windows_release_name({"Windows 7 Professional", "7601", "", 0}),
              "Windows 7 Professional, build 7601");
    EXPECT_EQ(windows_release_name({"", "26100", "24H2", 1}), "");
    EXPECT_FALSE(machine_os_name().empty()) << "Wine keeps the facts in the registry too";
}
