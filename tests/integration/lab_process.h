#pragma once

#include <memory>
#include <string>

// The running lab as ProductLab sees it: the lines it prints and its end. One half per platform
// (lab_support_posix.cpp, lab_support_win.cpp).
class LabProcess {
public:
    // Starts `executable --control scenario_path` (both as the lab names them); null with `error` set
    // when it cannot be started.
    static std::unique_ptr<LabProcess> start(const std::string& executable, const std::string& scenario_path,
                                             std::string& error);
    virtual ~LabProcess() = default;

    // The next line the lab printed, without its line end; false at the end of its output or when
    // nothing comes within a bound.
    virtual bool read_line(std::string& line) = 0;
    // Waits, bounded, for the lab to end once its control connection is closed: its exit status, or -1
    // when it did not end.
    virtual int wait() = 0;
};
