#include "cli/cli_upload.h"

#include <cstdio>
#include <optional>

#include "net/upload_progress_line.h"
#include "res/string_table.h"
#include "res/upload_texts.h"
#include "sys/console_text.h"
#include "sys/string_printf.h"

UploadResult send_archive(const std::string& archive_path, const std::string& archive_md5,
                          const ArchiveUploadOptions& options, std::stop_token stop) {
    // Only a terminal rewrites a line in place; elsewhere the redrawn lines would pile up.
    std::optional<UploadProgressLine> line;
    if (is_terminal(stderr)) line.emplace([](const std::string& text) { write_console_text(stderr, text); });
    const auto end_line = [&line] {
        if (line) line->end();
    };
    UploadCallbacks callbacks;
    callbacks.progress = [&line](std::int64_t sent, std::int64_t total) {
        if (line) line->update(sent, total);
    };
    callbacks.retrying = [&](int attempt, int wait_ms, const std::string& reason) {
        end_line();
        write_console_text(
            stderr, load_string(text::kUploadRetrying,
                                {std::to_string(attempt), string_printf("%g", wait_ms / 1000.0), reason}) +
                        "\n");
    };
    callbacks.stop = std::move(stop);
    const UploadResult result = upload_archive(archive_path, archive_md5, options, callbacks);
    end_line();
    if (!result.ok()) write_console_text(stderr, upload_failure_text(result, archive_path) + "\n");
    return result;
}
