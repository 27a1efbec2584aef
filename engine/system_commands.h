#pragma once

#include <stop_token>
#include <string>

// The system commands whose output goes into the support bundle: on Windows "systeminfo", "tasklist"
// and "ipconfig /all" themselves; elsewhere shell commands that tell the same (the system and its
// disks, the processes, the network set-up).
extern const char* const kSystemInfoCommand;
extern const char* const kTaskListCommand;
extern const char* const kNetworkCommand;

// Runs one of them and returns its output, as run_and_capture does. On Windows the program comes from
// the system folder and starts directly, never through a command interpreter or a search that a
// planted "systeminfo.bat" in the current folder would win; elsewhere the shell runs the command.
std::string run_system_command(const std::string& command, int timeout_ms, std::stop_token stop = {});
