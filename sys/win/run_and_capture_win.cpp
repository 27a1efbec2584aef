#include <windows.h>

#include <chrono>

#include "sys/line_ends.h"
#include "sys/run_and_capture.h"
#include "sys/win/wide_text.h"

namespace {

using Clock = std::chrono::steady_clock;

class Handle {
public:
    explicit Handle(HANDLE h = nullptr) : h(h) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h; }
    HANDLE* out() { return &h; }
    void reset() {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
        h = nullptr;
    }

private:
    HANDLE h;
};

// Takes what the pipe holds without blocking; false once every writer has closed it.
bool read_available(HANDLE pipe, std::string& output) {
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
        if (available == 0) return true;
        char buffer[10240];
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr) ||
            got == 0)
            return false;
        output.append(buffer, got);
    }
}

// cmd.exe from the system folder, never one found on the search path.
std::wstring command_interpreter() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return L"cmd.exe";
    return std::wstring(folder, length) + L"\\cmd.exe";
}

// The command runs in a console of its own (CREATE_NO_WINDOW), which starts in the system's OEM code
// page (949 on Korean Windows). GetOEMCP is not that in a program whose manifest makes UTF-8 its
// code page: the system locale's own is asked instead.
unsigned output_code_page() {
    DWORD code_page = 0;
    const int got = GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTCODEPAGE | LOCALE_RETURN_NUMBER,
                                   reinterpret_cast<LPWSTR>(&code_page), sizeof code_page / sizeof(wchar_t));
    return got > 0 && code_page != 0 ? code_page : GetOEMCP();
}

}  // namespace

std::string run_and_capture(const std::string& command, int timeout_ms) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle read_end, write_end;
    if (!CreatePipe(read_end.out(), write_end.out(), &inheritable, 0)) return {};
    SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
    Handle null_input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                  OPEN_EXISTING, 0, nullptr));

    // Everything the command starts joins the job, and closing the job ends them all.
    Handle job(CreateJobObjectW(nullptr, nullptr));
    if (!job.get()) return {};
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = null_input.get();
    startup.hStdOutput = write_end.get();
    startup.hStdError = write_end.get();
    const std::wstring interpreter = command_interpreter();
    // /s: the quotes around the command are cmd's, whatever quotes the command holds itself.
    std::wstring line = L"\"" + interpreter + L"\" /d /s /c \"" + widen(command) + L"\"";
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(interpreter.c_str(), line.data(), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
        return {};
    Handle process_handle(process.hProcess), thread_handle(process.hThread);
    if (!AssignProcessToJobObject(job.get(), process.hProcess)) {
        TerminateProcess(process.hProcess, 1);
        return {};
    }
    ResumeThread(process.hThread);
    // Only the command's copies of the write end stay, so the pipe closes when they are all gone.
    write_end.reset();

    const bool limited = timeout_ms > 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limited ? timeout_ms : 0);
    std::string raw;
    bool closed = false;
    while (!closed) {
        closed = !read_available(read_end.get(), raw);
        if (closed) break;
        if (limited && Clock::now() >= deadline) break;
        // The pipe has no wait of its own that a deadline can bound: look again shortly.
        WaitForSingleObject(process.hProcess, 10);
    }
    if (closed && limited) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        closed =
            WaitForSingleObject(process.hProcess, left > 0 ? static_cast<DWORD>(left) : 0) == WAIT_OBJECT_0;
    } else if (closed) {
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    if (!closed) {
        TerminateJobObject(job.get(), 1);
        WaitForSingleObject(process.hProcess, 5000);
        read_available(read_end.get(), raw);
    }
    return unix_line_ends(utf8_from_code_page(raw, output_code_page()));
}
