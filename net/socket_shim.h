#pragma once

#include <cstdint>
#include <string>

// The few socket calls the TCP client needs, behind portable names, so that Socket's logic is the
// same on every platform. Errors are Windows socket numbers on every platform (10061 refused, 10060
// timed out, 10035 would block, 10022 invalid argument, ...), so that a log reads the same wherever
// it was written; a number without a Windows counterpart is passed on as the system gave it.
namespace socket_shim {

inline constexpr int kInvalidArgument = 10022;
inline constexpr int kWouldBlock = 10035;
inline constexpr int kTimedOut = 10060;

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

// Waits at most limit_ms (a negative limit: without end) until one send or receive call would not
// block: room or data, the peer's close, or an error. False on time-out, with the last error
// kTimedOut.
bool wait_ready(handle_t handle, bool for_sending, int limit_ms);

// One send or receive call: the byte count, 0 when the peer closed, negative on error.
// Sending never raises a signal when the peer has gone.
int send_some(handle_t handle, const void* data, int length);
int receive_some(handle_t handle, void* buffer, int length);

void shutdown_and_close(handle_t handle);

int last_error();
void set_last_error(int code);

}  // namespace socket_shim
