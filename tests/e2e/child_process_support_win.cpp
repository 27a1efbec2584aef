// A Windows program started for a test: CreateProcessW with its standard output on a pipe, standard
// error shared with the test's, and the extra variables added to a copy of this environment.
#include <windows.h>

#include <cwchar>
#include <cwctype>

#include "sys/win/wide_text.h"
#include "tests/e2e/child_process.h"
#include "tests/integration/windows_command_line.h"

namespace {

// This process's environment with the extra variables set (names compare without case), as the
// double-zero-terminated block CreateProcessW takes.
std::wstring environment_block(const std::map<std::string, std::string>& extra) {
    std::map<std::wstring, std::wstring> variables;
    auto upper = [](std::wstring name) {
        for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
        return name;
    };
    wchar_t* all = GetEnvironmentStringsW();
    for (const wchar_t* at = all; *at; at += wcslen(at) + 1) {
        const std::wstring entry = at;
        const size_t equals = entry.find(L'=', 1);  // names such as "=C:" begin with one
        if (equals == std::wstring::npos) continue;
        variables[upper(entry.substr(0, equals))] = entry;
    }
    FreeEnvironmentStringsW(all);
    for (const auto& [name, value] : extra) variables[upper(widen(name))] = widen(name + "=" + value);
    std::wstring block;
    for (const auto& [name, entry] : variables) block += entry + L'\0';
    return block + L'\0';
}

}  // namespace

ChildProcess::~ChildProcess() {
    if (process) {
        TerminateProcess(process, 137);
        wait();
    }
    if (output) CloseHandle(output);
}

bool ChildProcess::start(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& environment) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inheritable, 0)) return false;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                 OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = write_end;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = widen(windows_command_line(argv));
    std::wstring variables = environment_block(environment);
    PROCESS_INFORMATION started{};
    // Its own process group, so that a console interrupt reaches it alone.
    const BOOL ok = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                                   CREATE_UNICODE_ENVIRONMENT | CREATE_NEW_PROCESS_GROUP, variables.data(),
                                   nullptr, &startup, &started);
    CloseHandle(write_end);
    if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);
    if (!ok) {
        CloseHandle(read_end);
        return false;
    }
    CloseHandle(started.hThread);
    process = started.hProcess;
    id = started.dwProcessId;
    output = read_end;
    return true;
}

bool ChildProcess::read_line(std::string& line) {
    while (!take_line(line)) {
        char chunk[4096];
        DWORD n = 0;
        if (!ReadFile(output, chunk, sizeof chunk, &n, nullptr) || n == 0) return false;
        buffered.append(chunk, n);
    }
    return true;
}

std::string ChildProcess::read_rest() {
    char chunk[4096];
    DWORD n = 0;
    while (ReadFile(output, chunk, sizeof chunk, &n, nullptr) && n > 0) buffered.append(chunk, n);
    // A Windows program's text output ends its lines with CR LF; tests read lines.
    std::string rest;
    for (size_t i = 0; i < buffered.size(); ++i)
        if (buffered[i] != '\r' || i + 1 == buffered.size() || buffered[i + 1] != '\n') rest += buffered[i];
    buffered.clear();
    return rest;
}

void ChildProcess::interrupt() {
    if (process) GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, id);
}

int ChildProcess::wait() {
    if (!process) return -1;
    WaitForSingleObject(process, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process, &status);
    CloseHandle(process);
    process = nullptr;
    return static_cast<int>(status);
}

// The lab's low ports need a Unix root, which a Windows program cannot ask about.
bool running_as_root() {
    return false;
}
