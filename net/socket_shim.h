#pragma once

#include <cstdint>
#include <string>

// The few socket calls the TCP client needs, behind portable names, so that Socket's logic is the
// same on every platform. Errors are the platform's own numbers (errno on POSIX, WSA codes on Windows).
namespace socket_shim {

// Wide enough for a POSIX descriptor and a Winsock SOCKET alike.
using handle_t = std::intptr_t;
inline constexpr handle_t kInvalidHandle = -1;

// An IPv4 stream socket (close-on-exec), or kInvalidHandle with the last error set.
handle_t create_stream();

// A dotted address is taken as it is, without a lookup; otherwise the first IPv4 address the
// name resolves to. Names under ".invalid" never resolve and are not sent to the network.
// The address is in network byte order.
bool resolve_ipv4(const std::string& host, std::uint32_t& address);

// Non-blocking connect and a wait of at most limit_ms; the socket is blocking again afterwards.
// On time-out the last error is the one the pending attempt left (the would-block code).
bool connect_within(handle_t handle, std::uint32_t address, int port, int limit_ms);

bool set_linger_zero(handle_t handle);
bool set_transfer_timeouts(handle_t handle, int milliseconds);

// One send or receive call: the byte count, 0 when the peer closed, negative on error.
// Sending never raises a signal when the peer has gone.
int send_some(handle_t handle, const void* data, int length);
int receive_some(handle_t handle, void* buffer, int length);

void shutdown_and_close(handle_t handle);

int last_error();
void set_last_error(int code);
int invalid_argument_error();

}  // namespace socket_shim
