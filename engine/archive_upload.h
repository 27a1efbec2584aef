#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "net/file_upload.h"

// Sending the support bundle on to the support desk's storage once it is written, for both front
// ends: the options that ask for it, the upload itself, and what the user is told of it.

struct ArchiveUploadOptions {
    std::string url;  // empty: no upload
    std::vector<std::string> header_lines;
    std::string authority_file;
    bool wanted() const { return !url.empty(); }
};

// --upload URL, --upload-header "Name: value" (again for each line) and --upload-ca FILE.
bool is_upload_flag(std::string_view flag);
void take_upload_flag(std::string_view flag, const std::string& value, ArchiveUploadOptions& options);
// After the last flag: false, with a message, for header or authority flags without --upload, and
// for an address or a header line an upload cannot use, so that the user hears of it before the run
// rather than after the bundle is made.
bool upload_flags_complete(const ArchiveUploadOptions& options, std::string& error);

// The texts of the tool's own command line that the bundle may show only in another form (its
// process list holds the command line): each address with its query string, a credential, hidden.
std::vector<std::pair<std::string, std::string>> upload_arguments_shown(const ArchiveUploadOptions& options);

// Sends the archive as upload_file does, and records the outcome in the tool's log. `archive_md5`:
// its 16 bytes when taken with the archive's checksum, else empty.
UploadResult upload_archive(const std::string& archive_path, const std::string& archive_md5,
                            const ArchiveUploadOptions& options, const UploadCallbacks& callbacks);

// The command line's line for a finished upload: host, status, bytes, seconds, what was verified.
std::string upload_outcome_line(const UploadResult& result);
// What the user of the command line is told of a failed or stopped upload; the archive stays.
std::string upload_failure_text(const UploadResult& result, const std::string& archive_path);
