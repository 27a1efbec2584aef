#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "sys/line_ends.h"
#include "sys/run_and_capture.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

class Pipe {
public:
    ~Pipe() {
        close_read();
        close_write();
    }
    bool open() { return pipe2(fds, O_CLOEXEC) == 0; }
    int read_end() const { return fds[0]; }
    int write_end() const { return fds[1]; }
    void close_read() { close_fd(fds[0]); }
    void close_write() { close_fd(fds[1]); }

private:
    static void close_fd(int& fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int fds[2] = {-1, -1};
};

// Milliseconds left until the deadline for poll(): -1 without a limit, never below 0.
int poll_timeout(bool limited, Clock::time_point deadline) {
    if (!limited) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

bool read_chunk(int fd, std::string& output) {
    char buffer[10240];
    ssize_t n = ::read(fd, buffer, sizeof(buffer));
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (n <= 0) return false;
    output.append(buffer, static_cast<size_t>(n));
    return true;
}

// Reads until the pipe closes or the deadline passes; true when it closed.
bool read_until_closed(int fd, bool limited, Clock::time_point deadline, std::string& output) {
    for (;;) {
        struct pollfd ready {
            fd, POLLIN, 0
        };
        int timeout = poll_timeout(limited, deadline);
        int n = poll(&ready, 1, timeout);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return true;
        if (n == 0) return false;
        if (!read_chunk(fd, output)) return true;
    }
}

// Takes what is already in the pipe without waiting for more.
void drain(int fd, std::string& output) {
    for (;;) {
        struct pollfd ready {
            fd, POLLIN, 0
        };
        if (poll(&ready, 1, 0) <= 0 || !read_chunk(fd, output)) return;
    }
}

// Waits for the child to end, no longer than the deadline; false when it is still running then.
bool wait_for_exit(pid_t pid, bool limited, Clock::time_point deadline) {
    int status = 0;
    if (!limited) {
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return true;
    }
    int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) break;
        int timeout = poll_timeout(true, deadline);
        if (timeout == 0) {
            if (pidfd >= 0) ::close(pidfd);
            return false;
        }
        if (pidfd >= 0) {
            struct pollfd ready {
                pidfd, POLLIN, 0
            };
            poll(&ready, 1, timeout);
        } else {
            // Kernels without process descriptors: look again shortly.
            poll(nullptr, 0, timeout < 10 ? timeout : 10);
        }
    }
    if (pidfd >= 0) ::close(pidfd);
    return true;
}

}  // namespace

std::string run_and_capture(const std::string& command, int timeout_ms, std::stop_token stop) {
    Pipe pipe;
    if (!pipe.open()) return {};

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipe.write_end(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipe.write_end(), STDERR_FILENO);
    // Its own process group, so that a hung command can be stopped with everything it started.
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t default_signals;
    sigemptyset(&default_signals);
    sigaddset(&default_signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &default_signals);
    // Nothing this thread blocks should stay blocked in the command.
    sigset_t no_signals;
    sigemptyset(&no_signals);
    posix_spawnattr_setsigmask(&attributes, &no_signals);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::string shell_command = command;
    char shell[] = "/bin/sh";
    char dash_c[] = "-c";
    char* argv[] = {shell, dash_c, shell_command.data(), nullptr};
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, shell, &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    pipe.close_write();
    if (spawned != 0) return {};

    bool limited = timeout_ms > 0;
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limited ? timeout_ms : 0);
    std::string output;
    bool finished = false;
    {
        // A stop kills the command and all it started: the pipe closes and the waits below end.
        std::stop_callback kill_on_stop(stop, [pid] { kill(-pid, SIGKILL); });
        finished = read_until_closed(pipe.read_end(), limited, deadline, output) &&
                   wait_for_exit(pid, limited, deadline);
    }
    if (!finished) {
        kill(-pid, SIGKILL);
        drain(pipe.read_end(), output);
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    return unix_line_ends(output);
}
