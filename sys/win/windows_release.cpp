#include "sys/win/windows_release.h"

#include <cstdlib>

namespace {

constexpr long kFirstWindows11Build = 22000;
constexpr const char* kWindows10 = "Windows 10";

}  // namespace

std::string windows_release_name(const WindowsRelease& release) {
    if (release.product_name.empty()) return {};
    std::string name = release.product_name;
    if (std::atol(release.build.c_str()) >= kFirstWindows11Build && name.rfind(kWindows10, 0) == 0)
        name.replace(0, std::string(kWindows10).size(), "Windows 11");
    if (!release.display_version.empty()) name += " " + release.display_version;
    if (!release.build.empty())
        name += ", build " + release.build + (release.ubr ? "." + std::to_string(release.ubr) : "");
    return name;
}
