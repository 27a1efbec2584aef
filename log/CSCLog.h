#pragma once

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

#include "sys/string_printf.h"

// The tool's own log: one UTF-8 file (byte-order mark, CR LF line ends) per start date in a Log folder
// beside the executable. The file is opened, written, flushed and closed for every record, so it is
// never held open between records and a crash loses nothing already logged.
class CSCLog {
public:
    enum Level { plain = 0, info = 1, warn = 2, error = 3, critical = 4, sql = 5, debug = 7 };

    CSCLog();
    virtual ~CSCLog();
    CSCLog(const CSCLog&) = delete;
    CSCLog& operator=(const CSCLog&) = delete;

    // Appends one record "[date time.ms][function][line][tag] message" and returns it (without the
    // line end); empty when the file could not be opened. printf conventions, UTF-8 text for %s.
    // Never throws: a failure inside loses the record, closes the file and returns what was built.
    std::string write(int level, const char* function, int line, const char* format, ...)
        __attribute__((format(CHECKTOOL_PRINTF_STYLE, 5, 6)));

    void write_start_log();

    bool show_function = true;
    bool show_line = true;

    // For tests and for writers that are not the process-wide one: the folder and the prefix to use
    // instead of the executable's. Empty values keep the defaults.
    CSCLog(std::string folder, std::string prefix);
    const std::string& path() const { return file_path; }

private:
    bool open(std::string folder, std::string prefix, int level);
    void close();
    // The parts of write that run under the lock; record holds as much of the line as was built.
    void write_locked(int level, const char* function, int line, const char* format, va_list args,
                      std::string& record);
    void write_record(int level, const char* function, int line, const std::string& message,
                      std::string& record);

    std::mutex lock;
    std::time_t start_time;
    std::string file_path;
    std::string file_prefix;
    std::string log_folder;
    int max_level = 6;
    std::FILE* file = nullptr;
};

// The process-wide log writer, alive from static initialisation to static clean-up.
extern CSCLog* g_log;
