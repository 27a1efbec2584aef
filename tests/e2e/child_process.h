#pragma once

#include <map>
#include <string>
#include <vector>

// A program started for a test, with its standard output readable line by line and standard error
// left to the test's own.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();  // kills and reaps a child that is still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0] with the extra environment variables; standard input is empty.
    bool start(const std::vector<std::string>& argv,
               const std::map<std::string, std::string>& environment = {});
    // The next line of standard output without its line end; false at its end.
    bool read_line(std::string& line);
    // Everything standard output still has to say.
    std::string read_rest();
    // Sends the interrupt a terminal's Ctrl+C sends.
    void interrupt();
    // Waits for the child to end; its exit status, or 128 + the signal that ended it.
    int wait();

private:
    // Moves the first whole line out of what was read (without its line end); false when none is whole.
    bool take_line(std::string& line) {
        const size_t end = buffered.find('\n');
        if (end == std::string::npos) return false;
        line = buffered.substr(0, end);
        buffered.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }

#ifdef _WIN32
    void* process = nullptr;  // the process handle
    void* output = nullptr;   // the reading end of its standard output
    unsigned long id = 0;
#else
    int pid = -1;
    int output = -1;
#endif
    std::string buffered;
};

bool running_as_root();

// What a program run to its end said on standard output, and its exit status (-1: it did not start).
struct ChildOutcome {
    std::string out;
    int status = -1;
};

inline ChildOutcome run_to_end(const std::vector<std::string>& argv) {
    ChildOutcome outcome;
    ChildProcess child;
    if (!child.start(argv)) return outcome;
    outcome.out = child.read_rest();
    outcome.status = child.wait();
    return outcome;
}
