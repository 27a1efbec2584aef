#pragma once

#include <string>

#include "net/socket_shim.h"

// A plain, blocking TCP client connection. The owner creates the socket (Create, or by storing a
// handle and setting owns_handle). Any failed transfer closes the connection at once, so nobody
// goes on talking over a half-broken one. Failures leave their reason in last_socket_error().
//
// Once SetTimeouts has set a time-out, it bounds every SendAll and RecvAll as a whole, not only each
// wait within it: a peer that sends a message a byte at a time cannot stretch one past its time-out.
class Socket {
public:
    // The relay channel's connection limit, and the limit the system applies to a plain blocking
    // connect on Windows (kept on every platform so that a silent address costs the same).
    static constexpr int kConnectLimitMs = 2000;
    static constexpr int kPlainConnectLimitMs = 21000;

    Socket() = default;
    virtual ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // Creates an IPv4 stream socket, owned by this object; an open one is closed first.
    bool Create();
    bool is_open() const { return socket_handle != socket_shim::kInvalidHandle; }

    // Dotted IPv4 address or host name (its first IPv4 address). Waits at most kConnectLimitMs;
    // on success closing later resets the connection (linger on, time 0). On failure the socket
    // stays open for the owner to close.
    bool Connect(const std::string& host, int port);
    // The plain connection test: an ordinary connect, bounded by kPlainConnectLimitMs.
    bool ConnectPlain(const std::string& host, int port);
    // The send and receive time-out of every later transfer, in milliseconds (above 0).
    bool SetTimeouts(int milliseconds);

    bool SendAll(const void* data, int length);
    bool RecvAll(void* buffer, int length);
    void Close();

    socket_shim::handle_t socket_handle = socket_shim::kInvalidHandle;
    bool owns_handle = false;

private:
    bool open_connection(const std::string& host, int port, int limit_ms);
    bool fail_transfer();
    // Transfers one message in calls of `step`, each after waiting for the socket within the
    // message's time-out.
    template <typename Step>
    bool transfer(bool sending, int length, Step step);

    int transfer_timeout_ms = 0;  // 0: transfers wait without end
};

// The calling thread's last socket error, a Windows socket number on every platform (10061 refused,
// 10060 timed out, ...).
int last_socket_error();
