#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>

// Loopback TCP listeners for the lab's raw servers. Every wait of a connection also watches the
// listener's stop event, so stopping never waits for a silent peer.

class StopEvent;

class LabConnection {
public:
    LabConnection(int descriptor, std::shared_ptr<StopEvent> stop);
    ~LabConnection();
    LabConnection(const LabConnection&) = delete;
    LabConnection& operator=(const LabConnection&) = delete;

    // False when the peer closed, an error happened or the lab is stopping.
    bool read_exact(void* buffer, std::size_t length);
    // Bytes read, 0 when the peer closed, negative on error or stop.
    long read_some(void* buffer, std::size_t length);
    bool write_all(const void* data, std::size_t length);
    // Waits, discarding anything that arrives, until the peer closes or the lab stops.
    void wait_until_closed();
    // True when the whole pause passed, false when the lab is stopping.
    bool pause(int milliseconds);
    // Ends the connection at once: the peer sees its reads end.
    void close();
    // Ends the connection with a reset: the peer's next read or write fails.
    void reset();

private:
    bool wait_readable();
    int descriptor;
    std::shared_ptr<StopEvent> stop;
};

class TcpListener {
public:
    using Handler = std::function<void(LabConnection&)>;

    TcpListener();
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Listens on 127.0.0.1 (port 0: an ephemeral one). With a backlog of 0 and no start(), at most one
    // connection is queued and further attempts go unanswered.
    bool open(int port, int backlog, std::string& error);
    int port() const { return bound_port; }

    // Accepts on a thread of its own; every connection gets a thread running the handler.
    void start(Handler handler);
    // Stops accepting, wakes every connection's waits, and joins all threads.
    void stop();

private:
    struct Worker {
        std::thread thread;
        std::atomic<bool> done{false};
    };
    void accept_loop();
    void reap_finished();

    int descriptor = -1;
    int bound_port = 0;
    std::shared_ptr<StopEvent> stop_event;
    Handler handler;
    std::thread acceptor;
    std::list<Worker> workers;
};
