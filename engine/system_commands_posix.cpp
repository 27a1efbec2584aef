#include "engine/system_commands.h"
#include "sys/run_and_capture.h"

const char* const kSystemInfoCommand = "uname -a; cat /etc/os-release; lscpu; free -b; df -h; uptime";
const char* const kTaskListCommand = "ps -eo pid,ppid,user,%cpu,rss,etime,args";
const char* const kNetworkCommand =
    "if command -v ip >/dev/null 2>&1; then ip addr; ip route; else ifconfig -a; fi; cat /etc/resolv.conf";

std::string run_system_command(const std::string& command, int timeout_ms, std::stop_token stop) {
    return run_and_capture(command, timeout_ms, stop);
}
