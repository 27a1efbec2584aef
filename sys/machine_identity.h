#pragma once

#include <string>

// Who the machine is, for the summary page. Empty when the system will not say.
std::string machine_host_name();
// The operating system's name and version, and its kernel ("Debian GNU/Linux 12 (bookworm), Linux 6.1.0";
// on Windows "Windows 11 Pro 24H2, build 26100.2894").
std::string machine_os_name();
