#pragma once

#include <stop_token>
#include <string>

// Starts the program at `program`, an absolute path that is never searched for, with the whole
// command line given (its first word the program again), and captures its output as run_and_capture
// does: both streams, "\r\n" made "\n", the time limit ending the program and all it started. The
// child inherits the pipe's write end and its input and no other handle of ours. Its bytes are read
// as text in `code_page`.
// A stop request ends the program the same way, within a few milliseconds.
std::string capture_program(const std::wstring& program, const std::wstring& command_line, int timeout_ms,
                            unsigned code_page, std::stop_token stop = {});

// <system folder>\<name>.exe, where the system's own programs live ("C:\Windows\System32\ipconfig.exe");
// empty when the system folder cannot be read.
std::wstring system_program_path(const std::wstring& name);

// The code page of the hidden console a child gets, which console programs such as systeminfo write
// their output in (949 on Korean Windows), whatever our own console uses: the user's console default
// (HKCU\Console, CodePage) when set, else the OEM code page.
unsigned new_console_code_page();
