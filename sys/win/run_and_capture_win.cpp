#include <windows.h>

#include <chrono>
#include <vector>

#include "sys/line_ends.h"
#include "sys/run_and_capture.h"
#include "sys/win/owned_handle.h"
#include "sys/win/program_capture.h"
#include "sys/win/wide_text.h"

namespace {

using Clock = std::chrono::steady_clock;

// The console title of every child: console settings kept per title (HKCU\Console\<title>) then do
// not apply, so that the child's code page is the one new_console_code_page tells.
wchar_t kConsoleTitle[] = L"TarvoCheckTool command";

// The list of handles a child may inherit, for CreateProcess's extended start-up information.
class InheritedHandles {
public:
    explicit InheritedHandles(std::vector<HANDLE> handles) : handles(std::move(handles)) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
        made = size > 0 && InitializeProcThreadAttributeList(list, 1, 0, &size);
        ready = made &&
                UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, this->handles.data(),
                                          this->handles.size() * sizeof(HANDLE), nullptr, nullptr);
    }
    ~InheritedHandles() {
        if (made) DeleteProcThreadAttributeList(list());
    }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;
    bool valid() const { return ready; }
    LPPROC_THREAD_ATTRIBUTE_LIST list() {
        return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    }

private:
    std::vector<HANDLE> handles;  // the list points into this
    std::vector<unsigned char> storage;
    bool made = false;
    bool ready = false;
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

std::wstring quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

}  // namespace

std::wstring system_program_path(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\" + name + L".exe";
}

unsigned new_console_code_page() {
    DWORD code_page = 0;
    DWORD size = sizeof code_page;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Console", L"CodePage", RRF_RT_REG_DWORD, nullptr, &code_page,
                     &size) == ERROR_SUCCESS &&
        code_page != 0 && IsValidCodePage(code_page))
        return code_page;
    // Not GetOEMCP: in a program whose manifest makes UTF-8 its code page that says 65001, while a
    // new console starts in the system locale's OEM code page (949 on Korean Windows).
    DWORD oem = 0;
    const int got = GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTCODEPAGE | LOCALE_RETURN_NUMBER,
                                   reinterpret_cast<LPWSTR>(&oem), sizeof oem / sizeof(wchar_t));
    return got > 0 && oem != 0 ? oem : GetOEMCP();
}

std::string capture_program(const std::wstring& program, const std::wstring& command_line, int timeout_ms,
                            unsigned code_page, std::stop_token stop) {
    if (program.empty()) return {};
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    OwnedHandle read_end, write_end;
    if (!CreatePipe(read_end.out(), write_end.out(), &inheritable, 0)) return {};
    SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
    OwnedHandle null_input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                       OPEN_EXISTING, 0, nullptr));

    // Everything the command starts joins the job, and closing the job ends them all.
    OwnedHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job.get()) return {};
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    // Only the pipe's end and the input go to the child: any other handle we or another thread made
    // inheritable (a log file, a socket, another child's pipe) stays ours.
    std::vector<HANDLE> passed = {write_end.get()};
    if (null_input.valid()) passed.push_back(null_input.get());
    InheritedHandles inherited(passed);
    if (!inherited.valid()) return {};

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.lpTitle = kConsoleTitle;
    startup.StartupInfo.hStdInput = null_input.valid() ? null_input.get() : nullptr;
    startup.StartupInfo.hStdOutput = write_end.get();
    startup.StartupInfo.hStdError = write_end.get();
    startup.lpAttributeList = inherited.list();
    std::wstring line = command_line;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                        &startup.StartupInfo, &process))
        return {};
    OwnedHandle process_handle(process.hProcess), thread_handle(process.hThread);
    if (!AssignProcessToJobObject(job.get(), process.hProcess)) {
        TerminateProcess(process.hProcess, 1);
        return {};
    }
    ResumeThread(process.hThread);
    // Only the command's copies of the write end stay, so the pipe closes when they are all gone.
    write_end.close();

    const bool limited = timeout_ms > 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limited ? timeout_ms : 0);
    std::string raw;
    bool closed = false;
    while (!closed) {
        closed = !read_available(read_end.get(), raw);
        if (closed) break;
        if ((limited && Clock::now() >= deadline) || stop.stop_requested()) break;
        // The pipe has no wait of its own that a deadline or a stop can bound: look again shortly.
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
    // Decoded whole: a double-byte character may straddle two reads.
    return unix_line_ends(utf8_from_code_page(raw, code_page));
}

std::string run_and_capture(const std::string& command, int timeout_ms, std::stop_token stop) {
    // cmd.exe from the system folder, never one found on the search path.
    const std::wstring interpreter = system_program_path(L"cmd");
    // /d: no AutoRun command of the user's; /s: the quotes around the command are cmd's, whatever
    // quotes the command holds itself.
    return capture_program(interpreter, quoted(interpreter) + L" /d /s /c \"" + widen(command) + L"\"",
                           timeout_ms, new_console_code_page(), stop);
}
