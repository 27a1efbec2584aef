#include "engine/system_commands.h"

const char* const kSystemInfoCommand = "systeminfo";
const char* const kTaskListCommand = "tasklist";
const char* const kNetworkCommand = "ipconfig /all";
