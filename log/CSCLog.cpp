#include "log/CSCLog.h"

#include <cstdlib>

#include "sys/date_time_text.h"
#include "sys/exe_facts.h"
#include "sys/open_file.h"
#include "sys/private_folder.h"
#include "sys/string_printf.h"

namespace {

CSCLog the_log;

const char* tag_of(int level) {
    switch (level) {
        case CSCLog::info: return "[info]";
        case CSCLog::warn: return "[warn]";
        case CSCLog::error: return "[error]";
        case CSCLog::critical: return "[critical]";
        case CSCLog::sql: return "[sql]";
        case CSCLog::debug: return "[debug]";
        default: return "";
    }
}

// Support staff read the log on Windows too: line ends are CR LF whatever the platform.
std::string with_crlf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Where the log goes when the folder beside the executable is not writable (an installed,
// read-only location): the user's state folder, so that nothing is lost. Without a home the shared
// temporary folder would be next, where another user could plant a link: a private folder there.
std::string fallback_log_folder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/TarvoCheckTool/Log";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/state/TarvoCheckTool/Log";
    const std::string private_folder = private_temp_folder("TarvoCheckTool");
    return private_folder.empty() ? std::string() : private_folder + "/Log";
}

bool is_absolute(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || path.find(":\\", 1) != std::string::npos ||
           path.find(":/", 1) != std::string::npos;
}

}  // namespace

CSCLog* g_log = &the_log;

CSCLog::CSCLog() : start_time(std::time(nullptr)) {}

CSCLog::CSCLog(std::string folder, std::string prefix)
    : start_time(std::time(nullptr)), file_prefix(std::move(prefix)), log_folder(std::move(folder)) {}

CSCLog::~CSCLog() {
    write(plain, "CSCLog::write_end_log", 142, "==================== Program Exit ====================\n");
    std::lock_guard guard(lock);
    close();
}

void CSCLog::close() {
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
}

bool CSCLog::open(std::string folder, std::string prefix, int level) {
    close();
    max_level = level;

    const std::string exe_folder = split_path(get_exe_path(true), 1);
    const bool default_folder = folder.empty();
    if (default_folder)
        folder = exe_folder + "/Log";
    else if (!is_absolute(folder))
        folder = exe_folder + "/" + folder;
    if (prefix.empty()) prefix = split_path(get_exe_path(true), 3);

    bool ok = false;
    const LocalDateTime day = to_local(static_cast<int64_t>(start_time), &ok);
    auto try_open = [&](const std::string& dir) {
        if (dir.empty()) return false;  // no folder at all, not the root folder
        create_folder(dir);
        file_path = string_printf("%s/%s_%d%02d%02d.log", dir.c_str(), prefix.c_str(), ok ? day.year : 0,
                                ok ? day.month : 0, ok ? day.day : 0);
        file = open_file(file_path, "ab");
        if (!file) return false;
        log_folder = dir;
        file_prefix = prefix;
        // A new file starts with the UTF-8 byte-order mark, as the Windows tools expect. Until the first
        // write, an appending stream may stand at the start of a file that is not empty (Windows' C
        // library does), so the end is sought first.
        if (std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) == 0) std::fputs("\xEF\xBB\xBF", file);
        return true;
    };
    // An installed program (in a bin folder such as /usr/bin) keeps no log among the system's programs,
    // even where it could, run as root: its log goes to the user's state folder at once.
    const bool installed = split_path(get_exe_path(true), 2) == "bin";
    if (!(default_folder && installed) && try_open(folder)) return true;
    return default_folder && try_open(fallback_log_folder());
}

std::string CSCLog::write(int level, const char* function, int line, const char* format, ...) {
    std::string record;
    va_list args;
    va_start(args, format);
    // Logging never stops the program: whatever goes wrong in here stays in here, with the file closed.
    try {
        std::lock_guard guard(lock);
        try {
            write_locked(level, function, line, format, args, record);
        } catch (...) {
            close();
        }
    } catch (...) {
        // The lock could not be taken: nothing was opened.
    }
    va_end(args);
    return record;
}

void CSCLog::write_locked(int level, const char* function, int line, const char* format, va_list args,
                          std::string& record) {
    if (!file && level <= max_level && !open(log_folder, file_prefix, max_level)) return;
    std::string message;
    if (!string_vprintf(message, format, args)) {
        close();
        record = "log_text.FormatV() exception.";
        return;
    }
    write_record(level, function, line, message, record);
    close();
}

void CSCLog::write_record(int level, const char* function, int line, const std::string& text,
                          std::string& record) {
    size_t newlines = 0;
    while (newlines < text.size() && text[newlines] == '\n') ++newlines;
    const std::string message = text.substr(newlines);

    const LocalDateTime now = local_now();
    record = string_printf("[%d/%02d/%02d %02d:%02d:%02d.%03d][%s][%s]%s %s", now.year, now.month, now.day,
                           now.hour, now.minute, now.second, now.millisecond,
                           show_function && function ? function : "",
                           show_line ? std::to_string(line).c_str() : "", tag_of(level), message.c_str());

    if (newlines == 0 && message.empty()) {
        record.clear();
        if (file) std::fputs("\r\n", file);
        return;
    }
    if (file) {
        for (size_t i = 0; i < newlines; ++i) std::fputs("\r\n", file);
        const std::string out = with_crlf(record) + "\r\n";
        std::fwrite(out.data(), 1, out.size(), file);
        std::fflush(file);
    }
}

void CSCLog::write_start_log() {
    const std::string exe = get_exe_path(true);
    write(plain, "CSCLog::write_start_log", 127, "\n==================== Program Start ====================");
    write(plain, "CSCLog::write_start_log", 130, "file version = %s", get_file_version(exe, "FileVersion").c_str());
    write(plain, "CSCLog::write_start_log", 134, "built datetime = %s",
          format_date_time(get_file_time(exe), kDateAndTime, true, " ", true, true).c_str());
    std::string path;
    {
        std::lock_guard guard(lock);
        path = file_path;  // the next write rebuilds file_path, so pass a copy
    }
    write(plain, "CSCLog::write_start_log", 136, "log path = %s", path.c_str());
}
