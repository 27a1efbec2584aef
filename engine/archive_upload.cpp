#include "engine/archive_upload.h"

#include "log/CSCLog.h"
#include "net/upload_url.h"
#include "res/string_table.h"
#include "res/upload_texts.h"
#include "sys/string_printf.h"

bool is_upload_flag(std::string_view flag) {
    return flag == "--upload" || flag == "--upload-header" || flag == "--upload-ca";
}

void take_upload_flag(std::string_view flag, const std::string& value, ArchiveUploadOptions& options) {
    if (flag == "--upload-header")
        options.header_lines.push_back(value);
    else if (flag == "--upload-ca")
        options.authority_file = value;
    else
        options.url = value;
}

bool upload_flags_complete(const ArchiveUploadOptions& options, std::string& error) {
    if (!options.wanted()) {
        if (options.header_lines.empty() && options.authority_file.empty()) return true;
        error = load_string(text::kUploadFlagNeedsUpload,
                            {options.header_lines.empty() ? "--upload-ca" : "--upload-header"});
        return false;
    }
    UploadUrl parsed;
    std::string problem;
    if (!parse_upload_url(options.url, parsed, problem)) {
        error = load_string(text::kUploadUnusableAddress, {upload_url_shown(options.url), problem});
        return false;
    }
    std::vector<std::string> lines;
    if (upload_header_lines(options.header_lines, lines, problem)) return true;
    error = load_string(text::kUploadUnusableHeader, {problem});
    return false;
}

std::vector<std::pair<std::string, std::string>> upload_arguments_shown(const ArchiveUploadOptions& options) {
    if (!options.wanted()) return {};
    std::vector<std::pair<std::string, std::string>> shown{{options.url, upload_url_shown(options.url)}};
    // A header may carry a credential too (an Authorization line): its name is enough for the engineer.
    for (const std::string& line : options.header_lines) {
        const auto colon = line.find(':');
        if (colon != std::string::npos && colon + 1 < line.size())
            shown.emplace_back(line, line.substr(0, colon) + ": …");
    }
    return shown;
}

UploadResult upload_archive(const std::string& archive_path, const std::string& archive_md5,
                            const ArchiveUploadOptions& options, const UploadCallbacks& callbacks) {
    UploadRequest request;
    request.file = archive_path;
    request.known_md5 = archive_md5;
    request.url = options.url;
    request.header_lines = options.header_lines;
    request.extra_authority_file = options.authority_file;
    const UploadResult result = upload_file(request, callbacks);
    if (result.ok())
        g_log->write(CSCLog::info, "upload_archive", __LINE__,
                     "%s sent to %s: HTTP %d, %lld bytes, %.1f s, verified %s", archive_path.c_str(),
                     result.shown_url.c_str(), result.status, static_cast<long long>(result.bytes),
                     result.seconds, result.verified.c_str());
    else
        g_log->write(CSCLog::error, "upload_archive", __LINE__, "%s not sent to %s: %s", archive_path.c_str(),
                     result.shown_url.c_str(), result.message.c_str());
    return result;
}

std::string upload_outcome_line(const UploadResult& result) {
    return load_string(text::kUploadOutcomeLine,
                       {result.host, std::to_string(result.status), std::to_string(result.bytes),
                        string_printf("%.1f", result.seconds), result.verified});
}

std::string upload_failure_text(const UploadResult& result, const std::string& archive_path) {
    if (result.failure == UploadFailure::stopped) return load_string(text::kUploadStopped, {archive_path});
    return load_string(text::kUploadFailed, {result.message, archive_path});
}
