#include "engine/system_commands.h"
#include "sys/win/program_capture.h"
#include "sys/win/wide_text.h"

const char* const kSystemInfoCommand = "systeminfo";
const char* const kTaskListCommand = "tasklist";
const char* const kNetworkCommand = "ipconfig /all";

std::string run_system_command(const std::string& command, int timeout_ms, std::stop_token stop) {
    const size_t blank = command.find(' ');
    const std::wstring program = system_program_path(widen(command.substr(0, blank)));
    if (program.empty()) return {};
    const std::wstring arguments = blank == std::string::npos ? L"" : widen(command.substr(blank));
    return capture_program(program, L"\"" + program + L"\"" + arguments, timeout_ms, new_console_code_page(), stop);
}
