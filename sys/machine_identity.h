#pragma once

#include <string>

// Who the machine is, for the summary page. Empty when the system will not say.
std::string machine_host_name();
// The operating system's name and version, and its kernel ("Debian GNU/Linux 12 (bookworm), Linux 6.1.0").
std::string machine_os_name();
