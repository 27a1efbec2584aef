#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "tools/lab/tcp_listener.h"

// A pipe whose read end becomes readable, for good, once the lab stops.
class StopEvent {
public:
    StopEvent() {
        if (pipe2(ends, O_CLOEXEC) != 0) ends[0] = ends[1] = -1;
    }
    ~StopEvent() {
        for (int end : ends) {
            if (end >= 0) ::close(end);
        }
    }
    void raise() {
        const char byte = 1;
        if (ends[1] >= 0 && ::write(ends[1], &byte, 1) < 0) {
            // The pipe is full or gone; it is readable either way.
        }
    }
    int watch_descriptor() const { return ends[0]; }

private:
    int ends[2] = {-1, -1};
};

namespace {

// Waits for the descriptor to become readable (or writable) or the stop event; true for the former.
bool wait_for(int descriptor, short events, const StopEvent& stop, int timeout_ms = -1) {
    pollfd waits[2] = {{descriptor, events, 0}, {stop.watch_descriptor(), POLLIN, 0}};
    for (;;) {
        const int ready = poll(waits, 2, timeout_ms);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        if (waits[1].revents != 0) return false;
        return waits[0].revents != 0;
    }
}

}  // namespace

LabConnection::LabConnection(int descriptor_, std::shared_ptr<StopEvent> stop_)
    : descriptor(descriptor_), stop(std::move(stop_)) {}

LabConnection::~LabConnection() {
    close();
}

bool LabConnection::wait_readable() {
    return descriptor >= 0 && wait_for(descriptor, POLLIN, *stop);
}

long LabConnection::read_some(void* buffer, std::size_t length) {
    if (!wait_readable()) return -1;
    ssize_t received = 0;
    do {
        received = recv(descriptor, buffer, length, 0);
    } while (received < 0 && errno == EINTR);
    return static_cast<long>(received);
}

bool LabConnection::read_exact(void* buffer, std::size_t length) {
    char* next = static_cast<char*>(buffer);
    while (length > 0) {
        const long received = read_some(next, length);
        if (received <= 0) return false;
        next += received;
        length -= static_cast<std::size_t>(received);
    }
    return true;
}

bool LabConnection::write_all(const void* data, std::size_t length) {
    const char* next = static_cast<const char*>(data);
    while (length > 0) {
        if (descriptor < 0 || !wait_for(descriptor, POLLOUT, *stop)) return false;
        const ssize_t sent = send(descriptor, next, length, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        next += sent;
        length -= static_cast<std::size_t>(sent);
    }
    return true;
}

void LabConnection::wait_until_closed() {
    char discard[512];
    while (read_some(discard, sizeof discard) > 0) {
    }
}

bool LabConnection::pause(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return true;
        pollfd wait{stop->watch_descriptor(), POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready > 0) return false;
    }
}

void LabConnection::close() {
    if (descriptor < 0) return;
    ::close(descriptor);
    descriptor = -1;
}

void LabConnection::reset() {
    if (descriptor < 0) return;
    const linger abort_on_close{1, 0};
    setsockopt(descriptor, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof abort_on_close);
    close();
}

TcpListener::TcpListener() : stop_event(std::make_shared<StopEvent>()) {}

TcpListener::~TcpListener() {
    stop();
}

bool TcpListener::open(int port, int backlog, std::string& error) {
    descriptor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        error = std::strerror(errno);
        return false;
    }
    const int reuse = 1;
    setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(descriptor, backlog) != 0 ||
        getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        error = "port " + std::to_string(port) + ": " + std::strerror(errno);
        ::close(descriptor);
        descriptor = -1;
        return false;
    }
    bound_port = ntohs(address.sin_port);
    return true;
}

void TcpListener::start(Handler handler_) {
    handler = std::move(handler_);
    acceptor = std::thread([this] { accept_loop(); });
}

void TcpListener::accept_loop() {
    while (wait_for(descriptor, POLLIN, *stop_event)) {
        const int accepted = accept4(descriptor, nullptr, nullptr, SOCK_CLOEXEC);
        if (accepted < 0) continue;
        reap_finished();
        Worker& worker = workers.emplace_back();
        worker.thread = std::thread([this, accepted, &worker] {
            LabConnection connection(accepted, stop_event);
            handler(connection);
            worker.done = true;
        });
    }
}

void TcpListener::reap_finished() {
    for (auto it = workers.begin(); it != workers.end();) {
        if (it->done) {
            it->thread.join();
            it = workers.erase(it);
        } else {
            ++it;
        }
    }
}

void TcpListener::stop() {
    stop_event->raise();
    if (acceptor.joinable()) acceptor.join();
    for (Worker& worker : workers) {
        if (worker.thread.joinable()) worker.thread.join();
    }
    workers.clear();
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
}
