#pragma once

// The system commands whose output goes into the support bundle, each run through the system's
// command interpreter: on Windows "systeminfo", "tasklist" and "ipconfig /all" themselves; elsewhere
// commands that tell the same (the system and its disks, the processes, the network set-up).
extern const char* const kSystemInfoCommand;
extern const char* const kTaskListCommand;
extern const char* const kNetworkCommand;
