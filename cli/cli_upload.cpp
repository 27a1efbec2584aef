#include "cli/cli_upload.h"

#include <chrono>
#include <cstdio>

#include "net/upload_progress_text.h"
#include "res/string_table.h"
#include "res/upload_texts.h"
#include "sys/console_text.h"
#include "sys/string_printf.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

// The one line a terminal rewrites in place; nothing at all elsewhere, where it would pile up.
class ProgressLine {
public:
    ProgressLine() : shown(is_terminal(stderr)), start(Clock::now()) {}

    void update(std::int64_t sent, std::int64_t total) {
        const auto now = Clock::now();
        if (!shown || (sent < total && now - drawn < kRedrawEvery)) return;
        drawn = now;
        // Erased to the line's end: the new text may be shorter than the last.
        write_console_text(stderr, "\r" + upload_progress_text(sent, total,
                                                               std::chrono::duration<double>(now - start).count()) +
                                       "\x1b[K");
        open = true;
    }
    void end() {
        if (open) write_console_text(stderr, "\n");
        open = false;
    }

private:
    const bool shown;
    const Clock::time_point start;
    Clock::time_point drawn{};
    bool open = false;
};

}  // namespace

UploadResult send_archive(const std::string& archive_path, const std::string& archive_md5,
                          const ArchiveUploadOptions& options, std::stop_token stop) {
    ProgressLine line;
    UploadCallbacks callbacks;
    callbacks.progress = [&line](std::int64_t sent, std::int64_t total) { line.update(sent, total); };
    callbacks.retrying = [&line](int attempt, int wait_ms, const std::string& reason) {
        line.end();
        write_console_text(stderr, load_string(text::kUploadRetrying,
                                                  {std::to_string(attempt), string_printf("%g", wait_ms / 1000.0),
                                                   reason}) +
                                       "\n");
    };
    callbacks.stop = std::move(stop);
    const UploadResult result = upload_archive(archive_path, archive_md5, options, callbacks);
    line.end();
    if (!result.ok()) write_console_text(stderr, upload_failure_text(result, archive_path) + "\n");
    return result;
}
