#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/host_name.h"
#include "net/socket_shim.h"

namespace socket_shim {

namespace {

int fd_of(handle_t handle) {
    return static_cast<int>(handle);
}

struct ErrorPair {
    int system;
    int windows;
};

// errno values and their Winsock numbers. A pending non-blocking connect is "would block" on
// Windows, not "in progress". The first pair of a Windows number is the way back.
constexpr ErrorPair kErrorPairs[] = {
    {EINTR, 10004},           {EBADF, 10009},         {EACCES, 10013},       {EFAULT, 10014},
    {EINVAL, 10022},          {EMFILE, 10024},        {EWOULDBLOCK, 10035},  {EAGAIN, 10035},
    {EINPROGRESS, 10035},     {EALREADY, 10037},      {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},     {ENETUNREACH, 10051},
    {ENETRESET, 10052},       {ECONNABORTED, 10053},  {ECONNRESET, 10054},   {EPIPE, 10054},
    {ENOBUFS, 10055},         {EISCONN, 10056},       {ENOTCONN, 10057},     {ESHUTDOWN, 10058},
    {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},     {ECONNREFUSED, 10061}, {ELOOP, 10062},
    {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},     {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
    {EUSERS, 10068},          {EDQUOT, 10069},        {ESTALE, 10070},       {EREMOTE, 10071},
};

int windows_number(int system) {
    for (const ErrorPair& pair : kErrorPairs)
        if (pair.system == system) return pair.windows;
    return system;
}

int system_number(int windows) {
    for (const ErrorPair& pair : kErrorPairs)
        if (pair.windows == windows) return pair.system;
    return windows;
}

bool set_blocking(int fd, bool blocking) {
    const int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0) return false;
    const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    return wanted == flags || fcntl(fd, F_SETFL, wanted) == 0;
}

}  // namespace

handle_t create_stream() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return fd < 0 ? kInvalidHandle : handle_t{fd};
}

bool resolve_ipv4(const std::string& host, std::uint32_t& address) {
    in_addr dotted{};
    if (inet_aton(host.c_str(), &dotted) != 0) {
        address = dotted.s_addr;
        return address != INADDR_NONE;
    }
    if (host.empty() || is_reserved_invalid_name(host)) return false;
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
    const int fd = fd_of(handle);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<std::uint16_t>(port));
    target.sin_addr.s_addr = address;

    if (!set_blocking(fd, false)) return false;
    bool connected = false;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
        connected = true;
    } else if (errno == EINPROGRESS) {
        pollfd wait{fd, POLLOUT, 0};
        int ready = 0;
        do {
            ready = poll(&wait, 1, limit_ms);
        } while (ready < 0 && errno == EINTR);
        if (ready > 0) {
            // Writable also means "failed at once" (a refusal): the outcome is in SO_ERROR.
            int failure = 0;
            socklen_t size = sizeof failure;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) == 0 && failure == 0) {
                connected = true;
            } else if (failure != 0) {
                errno = failure;
            }
        } else if (ready == 0) {
            errno = EINPROGRESS;
        }
    }
    const int kept = errno;
    set_blocking(fd, true);
    errno = kept;
    return connected;
}

bool set_linger_zero(handle_t handle) {
    const linger value{1, 0};
    return setsockopt(fd_of(handle), SOL_SOCKET, SO_LINGER, &value, sizeof value) == 0;
}

bool set_transfer_timeouts(handle_t handle, int milliseconds) {
    const timeval value{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return setsockopt(fd_of(handle), SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value) == 0 &&
           setsockopt(fd_of(handle), SOL_SOCKET, SO_SNDTIMEO, &value, sizeof value) == 0;
}

bool wait_ready(handle_t handle, bool for_sending, int limit_ms) {
    pollfd wait{fd_of(handle), static_cast<short>(for_sending ? POLLOUT : POLLIN), 0};
    int ready = 0;
    do {
        ready = poll(&wait, 1, limit_ms < 0 ? -1 : limit_ms);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) errno = ETIMEDOUT;
    // An error of poll itself is left for the send or receive call to meet.
    return ready != 0;
}

int send_some(handle_t handle, const void* data, int length) {
    ssize_t sent = 0;
    do {
        sent = send(fd_of(handle), data, static_cast<size_t>(length), MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return static_cast<int>(sent);
}

int receive_some(handle_t handle, void* buffer, int length) {
    ssize_t received = 0;
    do {
        received = recv(fd_of(handle), buffer, static_cast<size_t>(length), 0);
    } while (received < 0 && errno == EINTR);
    return static_cast<int>(received);
}

void shutdown_and_close(handle_t handle) {
    const int kept = errno;
    shutdown(fd_of(handle), SHUT_RDWR);
    close(fd_of(handle));
    errno = kept;
}

int last_error() {
    return windows_number(errno);
}
void set_last_error(int code) {
    errno = system_number(code);
}

}  // namespace socket_shim
