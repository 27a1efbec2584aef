// The lab under Wine. The lab is a Linux program: Wine starts it as a Unix process, but gives the
// caller no handle to wait on and does not connect a pipe made here to its output. So bash starts it
// with its standard output on a TCP connection to a port this side listens on, and adds a last line
// with the lab's exit status; the end of that connection is the lab's end.
// clang-format off
#include <winsock2.h>  // before windows.h, which would bring the old socket header
#include <windows.h>
// clang-format on

#include <chrono>
#include <string>

#include "sys/win/wide_text.h"
#include "tests/integration/lab_process.h"
#include "tests/integration/lab_support.h"
#include "tests/integration/windows_command_line.h"

namespace {

// How long the lab may take to connect, to print a line, or to end.
constexpr int kBoundMilliseconds = 30000;
constexpr char kExitPrefix[] = "lab exit status ";

bool readable_within(SOCKET s, int milliseconds) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &limit) == 1;
}

class ConnectedLab : public LabProcess {
public:
    explicit ConnectedLab(SOCKET connection) : connection(connection) {}
    ~ConnectedLab() override { closesocket(connection); }

    bool read_line(std::string& line) override {
        for (;;) {
            const size_t end = buffered.find('\n');
            if (end != std::string::npos) {
                line = buffered.substr(0, end);
                buffered.erase(0, end + 1);
                return line.rfind(kExitPrefix, 0) != 0 || (exit_line = line, false);
            }
            if (!readable_within(connection, kBoundMilliseconds)) return false;
            char chunk[4096];
            const int n = recv(connection, chunk, sizeof chunk, 0);
            if (n <= 0) return false;
            buffered.append(chunk, static_cast<size_t>(n));
        }
    }

    int wait() override {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kBoundMilliseconds);
        std::string line;
        while (exit_line.empty() && std::chrono::steady_clock::now() < deadline) {
            if (!read_line(line) && exit_line.empty()) return -1;
        }
        return exit_line.empty() ? -1 : std::atoi(exit_line.c_str() + sizeof kExitPrefix - 1);
    }

private:
    SOCKET connection;
    std::string buffered;
    std::string exit_line;
};

// A listening socket on 127.0.0.1, closed with this.
class Listener {
public:
    Listener() {
        // Winsock stays started for the rest of the process: a cleanup here would end the connection
        // it accepted too.
        static const bool started = [] {
            WSADATA data;
            return WSAStartup(MAKEWORD(2, 2), &data) == 0;
        }();
        if (!started) return;
        s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(s, 1) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        bound_port = ntohs(address.sin_port);
    }
    ~Listener() {
        if (s != INVALID_SOCKET) closesocket(s);
    }
    int port() const { return bound_port; }
    SOCKET accept_within(int milliseconds) {
        return readable_within(s, milliseconds) ? accept(s, nullptr, nullptr) : INVALID_SOCKET;
    }

private:
    SOCKET s = INVALID_SOCKET;
    int bound_port = 0;
};

}  // namespace

std::unique_ptr<LabProcess> LabProcess::start(const std::string& executable, const std::string& scenario_path,
                                              std::string& error) {
    Listener listener;
    if (listener.port() == 0) {
        error = "cannot listen for the lab's output";
        return nullptr;
    }
    const std::string to_us = "/dev/tcp/127.0.0.1/" + std::to_string(listener.port());
    const std::string script =
        "exec 3>" + to_us + " || exit 1; \"$0\" --control \"$1\" >&3; echo \"" + kExitPrefix + "$?\" >&3";
    std::wstring command =
        widen(windows_command_line({"/bin/bash", "-c", script, executable, scenario_path}));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        error = "cannot start /bin/bash for the lab (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    // For a Unix process Wine gives no handles; for anything else they are not needed.
    if (started.hProcess) CloseHandle(started.hProcess);
    if (started.hThread) CloseHandle(started.hThread);
    const SOCKET connection = listener.accept_within(kBoundMilliseconds);
    if (connection == INVALID_SOCKET) {
        error = "the lab " + executable + " did not connect (see its message above)";
        return nullptr;
    }
    return std::make_unique<ConnectedLab>(connection);
}

// Wine names the Unix path of any of its paths.
std::string ProductLab::lab_path(const std::string& path) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unix_name) return path;  // not Wine: there is no Linux lab to name it to
    char* name = unix_name(widen(path).c_str());
    if (!name) return path;
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}
