#pragma once

#include <string>

// What the registry tells of the installed Windows (HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion).
struct WindowsRelease {
    std::string product_name;     // ProductName: "Windows 10 Pro", which Windows 11 still says too
    std::string build;            // CurrentBuildNumber: "26100"
    std::string display_version;  // DisplayVersion ("24H2"), or ReleaseId ("1909") before there was one
    unsigned long ubr = 0;        // UBR, the update revision; 0 when absent
};

// The system's name as people know it, "Windows 11 Pro 24H2, build 26100.2894": builds from 22000 on
// are Windows 11 whatever the product name says. Empty without a product name.
std::string windows_release_name(const WindowsRelease& release);
