#pragma once

#include <string>
#include <vector>

// What a finished child process cost: wall and processor time, peak resident memory and its exit code.
struct ChildUsage {
    bool started = false;
    int exit_code = -1;
    double seconds = 0;      // wall clock
    double cpu_seconds = 0;  // user and system time of the child
    long peak_kib = 0;
};

// Runs argv[0] (searched on PATH) with the arguments and waits for it.
ChildUsage run_child(const std::vector<std::string>& argv);
