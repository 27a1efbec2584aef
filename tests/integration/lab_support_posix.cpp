// The lab started through the shell, its output read from a pipe.
#include <cstdio>

#include "tests/integration/lab_process.h"
#include "tests/integration/lab_support.h"
#include "tests/integration/shell_quoted.h"

namespace {

class PipedLab : public LabProcess {
public:
    explicit PipedLab(std::FILE* output) : output(output) {}
    ~PipedLab() override { wait(); }

    bool read_line(std::string& line) override {
        char text[4096] = {};
        if (!output || !std::fgets(text, sizeof text, output)) return false;
        line = text;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        return true;
    }

    int wait() override {
        if (!output) return -1;
        const int status = pclose(output);
        output = nullptr;
        return status;
    }

private:
    std::FILE* output;
};

}  // namespace

std::unique_ptr<LabProcess> LabProcess::start(const std::string& executable, const std::string& scenario_path,
                                              std::string& error) {
    std::FILE* output =
        popen((shell_quoted(executable) + " --control " + shell_quoted(scenario_path)).c_str(), "r");
    if (!output) {
        error = "cannot run " + executable;
        return nullptr;
    }
    return std::make_unique<PipedLab>(output);
}

std::string ProductLab::lab_path(const std::string& path) {
    return path;
}
