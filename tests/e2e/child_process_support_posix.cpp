#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/e2e/child_process.h"

ChildProcess::~ChildProcess() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        wait();
    }
    if (output >= 0) close(output);
}

bool ChildProcess::start(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& environment) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return false;
    pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        const int nothing = open("/dev/null", O_RDONLY);
        if (nothing >= 0) dup2(nothing, STDIN_FILENO);
        dup2(pipe_ends[1], STDOUT_FILENO);
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(pipe_ends[1]);
    output = pipe_ends[0];
    return true;
}

bool ChildProcess::read_line(std::string& line) {
    while (!take_line(line)) {
        char chunk[4096];
        const ssize_t n = read(output, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffered.append(chunk, static_cast<size_t>(n));
    }
    return true;
}

std::string ChildProcess::read_rest() {
    char chunk[4096];
    ssize_t n;
    while ((n = read(output, chunk, sizeof chunk)) > 0) buffered.append(chunk, static_cast<size_t>(n));
    std::string rest;
    rest.swap(buffered);
    return rest;
}

void ChildProcess::interrupt() {
    if (pid > 0) kill(pid, SIGINT);
}

int ChildProcess::wait() {
    if (pid <= 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool running_as_root() {
    return geteuid() == 0;
}
