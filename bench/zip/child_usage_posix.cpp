#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>

#include "bench/zip/child_usage.h"

extern char** environ;

ChildUsage run_child(const std::vector<std::string>& argv) {
    ChildUsage usage;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return usage;
    usage.started = true;
    int status = 0;
    struct rusage ru {};
    // The child's own peak, not this process's: each run is measured on its own.
    if (wait4(pid, &status, 0, &ru) != pid) return usage;
    usage.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    usage.cpu_seconds = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
                        static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    usage.peak_kib = ru.ru_maxrss;
    usage.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return usage;
}
