#include "net/Socket.h"

Socket::~Socket() {
    if (owns_handle) Close();
}

bool Socket::Create() {
    Close();
    socket_handle = socket_shim::create_stream();
    owns_handle = is_open();
    return owns_handle;
}

bool Socket::open_connection(const std::string& host, int port, int limit_ms) {
    std::uint32_t address = 0;
    // A port that does not fit in 16 bits would otherwise be cut down to some other port.
    if (!is_open() || port < 1 || port > 65535 || !socket_shim::resolve_ipv4(host, address)) {
        socket_shim::set_last_error(socket_shim::invalid_argument_error());
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
    return is_open() && socket_shim::set_transfer_timeouts(socket_handle, milliseconds);
}

bool Socket::fail_transfer() {
    Close();
    return false;
}

bool Socket::SendAll(const void* data, int length) {
    if (!is_open()) return false;
    const char* next = static_cast<const char*>(data);
    // A zero-length send counts as a failure, like a send that moved nothing.
    if (length <= 0) return fail_transfer();
    while (length > 0) {
        const int sent = socket_shim::send_some(socket_handle, next, length);
        if (sent <= 0) return fail_transfer();
        next += sent;
        length -= sent;
    }
    return true;
}

bool Socket::RecvAll(void* buffer, int length) {
    char* next = static_cast<char*>(buffer);
    while (length > 0) {
        if (!is_open()) return false;
        const int received = socket_shim::receive_some(socket_handle, next, length);
        if (received <= 0) return fail_transfer();
        next += received;
        length -= received;
    }
    return true;
}

void Socket::Close() {
    if (!is_open()) return;
    socket_shim::shutdown_and_close(socket_handle);
    socket_handle = socket_shim::kInvalidHandle;
}

int last_socket_error() { return socket_shim::last_error(); }
