#include "net/Socket.h"

#include <algorithm>
#include <chrono>

Socket::~Socket() {
    if (owns_handle) Close();
}

bool Socket::Create() {
    Close();
    transfer_timeout_ms = 0;
    socket_handle = socket_shim::create_stream();
    owns_handle = is_open();
    return owns_handle;
}

bool Socket::open_connection(const std::string& host, int port, int limit_ms) {
    std::uint32_t address = 0;
    // A port that does not fit in 16 bits would otherwise be cut down to some other port.
    if (!is_open() || port < 1 || port > 65535 || !socket_shim::resolve_ipv4(host, address)) {
        socket_shim::set_last_error(socket_shim::kInvalidArgument);
        return false;
    }
    return socket_shim::connect_within(socket_handle, address, port, limit_ms);
}

bool Socket::Connect(const std::string& host, int port) {
    if (!open_connection(host, port, kConnectLimitMs)) return false;
    socket_shim::set_linger_zero(socket_handle);
    return true;
}

bool Socket::ConnectPlain(const std::string& host, int port) {
    return open_connection(host, port, kPlainConnectLimitMs);
}

bool Socket::SetTimeouts(int milliseconds) {
    if (!is_open() || milliseconds <= 0 || !socket_shim::set_transfer_timeouts(socket_handle, milliseconds))
        return false;
    transfer_timeout_ms = milliseconds;
    return true;
}

bool Socket::fail_transfer() {
    Close();
    return false;
}

template <typename Step>
bool Socket::transfer(bool sending, int length, Step step) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(transfer_timeout_ms);
    while (length > 0) {
        if (!is_open()) return false;
        int limit_ms = -1;
        if (transfer_timeout_ms > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            limit_ms = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        }
        if (!socket_shim::wait_ready(socket_handle, sending, limit_ms)) return fail_transfer();
        const int moved = step(length);
        if (moved <= 0) return fail_transfer();
        length -= moved;
    }
    return true;
}

bool Socket::SendAll(const void* data, int length) {
    if (!is_open()) return false;
    // A zero-length send counts as a failure, like a send that moved nothing.
    if (length <= 0) return fail_transfer();
    const char* next = static_cast<const char*>(data);
    return transfer(true, length, [&](int left) {
        const int sent = socket_shim::send_some(socket_handle, next, left);
        if (sent > 0) next += sent;
        return sent;
    });
}

bool Socket::RecvAll(void* buffer, int length) {
    char* next = static_cast<char*>(buffer);
    return transfer(false, length, [&](int left) {
        const int received = socket_shim::receive_some(socket_handle, next, left);
        if (received > 0) next += received;
        return received;
    });
}

void Socket::Close() {
    if (!is_open()) return;
    socket_shim::shutdown_and_close(socket_handle);
    socket_handle = socket_shim::kInvalidHandle;
}

int last_socket_error() {
    return socket_shim::last_error();
}
