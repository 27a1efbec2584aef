#include "engine/system_commands.h"

const char* const kSystemInfoCommand = "uname -a; cat /etc/os-release; lscpu; free -b; df -h; uptime";
const char* const kTaskListCommand = "ps -eo pid,ppid,user,%cpu,rss,etime,args";
const char* const kNetworkCommand =
    "if command -v ip >/dev/null 2>&1; then ip addr; ip route; else ifconfig -a; fi; cat /etc/resolv.conf";
