#include <winsock2.h>
#include <ws2tcpip.h>

#include "net/host_name.h"
#include "net/socket_shim.h"

namespace socket_shim {

namespace {

SOCKET socket_of(handle_t handle) {
    return static_cast<SOCKET>(handle);
}

// Winsock must be started once per process before any call; it stays up until the process ends.
bool winsock_ready() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

bool set_blocking(SOCKET s, bool blocking) {
    u_long non_blocking = blocking ? 0 : 1;
    return ioctlsocket(s, FIONBIO, &non_blocking) == 0;
}

// select on one socket: for sending (or a finished connect) or for receiving, and for an error,
// which Winsock reports in the exception set. A negative limit waits without end. Returns what
// select returns; `failed` tells whether the error set fired.
int select_one(SOCKET s, bool for_sending, int limit_ms, bool& failed) {
    fd_set watched, errors;
    FD_ZERO(&watched);
    FD_ZERO(&errors);
    FD_SET(s, &watched);
    FD_SET(s, &errors);
    timeval limit{limit_ms / 1000, (limit_ms % 1000) * 1000};
    const int ready = select(0, for_sending ? nullptr : &watched, for_sending ? &watched : nullptr, &errors,
                             limit_ms < 0 ? nullptr : &limit);
    failed = ready > 0 && FD_ISSET(s, &errors);
    return ready;
}

}  // namespace

handle_t create_stream() {
    if (!winsock_ready()) return kInvalidHandle;
    // Not inherited by programs the tool starts, like close-on-exec.
    const SOCKET s = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    return s == INVALID_SOCKET ? kInvalidHandle : static_cast<handle_t>(s);
}

bool resolve_ipv4(const std::string& host, std::uint32_t& address) {
    if (!winsock_ready()) return false;
    // inet_addr takes the same dotted forms ("1.2.3.4", "127.1") as the POSIX half.
    const unsigned long dotted = inet_addr(host.c_str());
    if (dotted != INADDR_NONE) {
        address = dotted;
        return true;
    }
    if (host.empty() || host == "255.255.255.255" || is_reserved_invalid_name(host)) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return address != INADDR_NONE;
}

bool connect_within(handle_t handle, std::uint32_t address, int port, int limit_ms) {
    const SOCKET s = socket_of(handle);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<u_short>(port));
    target.sin_addr.s_addr = address;

    if (!set_blocking(s, false)) return false;
    bool connected = false;
    if (connect(s, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
        connected = true;
    } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
        // A refusal shows in the exception set, success in the write set.
        bool refused = false;
        const int ready = select_one(s, true, limit_ms, refused);
        if (ready > 0) {
            int failure = 0;
            int size = sizeof failure;
            if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&failure), &size) == 0 &&
                failure == 0 && !refused) {
                connected = true;
            } else {
                WSASetLastError(failure != 0 ? failure : WSAECONNREFUSED);
            }
        } else if (ready == 0) {
            WSASetLastError(WSAEWOULDBLOCK);
        }
    }
    const int kept = WSAGetLastError();
    set_blocking(s, true);
    WSASetLastError(kept);
    return connected;
}

bool set_linger_zero(handle_t handle) {
    const linger value{1, 0};
    return setsockopt(socket_of(handle), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value),
                      sizeof value) == 0;
}

bool set_transfer_timeouts(handle_t handle, int milliseconds) {
    const DWORD value = static_cast<DWORD>(milliseconds);
    const char* raw = reinterpret_cast<const char*>(&value);
    return setsockopt(socket_of(handle), SOL_SOCKET, SO_RCVTIMEO, raw, sizeof value) == 0 &&
           setsockopt(socket_of(handle), SOL_SOCKET, SO_SNDTIMEO, raw, sizeof value) == 0;
}

bool wait_ready(handle_t handle, bool for_sending, int limit_ms) {
    bool failed = false;
    const int ready = select_one(socket_of(handle), for_sending, limit_ms, failed);
    if (ready == 0) WSASetLastError(kTimedOut);
    // An error of select itself is left for the send or receive call to meet.
    return ready != 0;
}

// Winsock raises no signal for a vanished peer: send fails with WSAECONNRESET instead.
int send_some(handle_t handle, const void* data, int length) {
    return send(socket_of(handle), static_cast<const char*>(data), length, 0);
}

int receive_some(handle_t handle, void* buffer, int length) {
    return recv(socket_of(handle), static_cast<char*>(buffer), length, 0);
}

void shutdown_and_close(handle_t handle) {
    const int kept = WSAGetLastError();
    shutdown(socket_of(handle), SD_BOTH);
    closesocket(socket_of(handle));
    WSASetLastError(kept);
}

int last_error() {
    return WSAGetLastError();
}
void set_last_error(int code) {
    WSASetLastError(code);
}

}  // namespace socket_shim
