#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

// One file sent to a support desk's object storage with a single HTTP PUT to a pre-signed URL (S3,
// Azure Blob SAS, GCS signed URL): streamed from disk with Content-Length (never in chunks, which
// pre-signed PUTs refuse) and Content-Type: application/zip, through the system's proxy, to a server
// whose certificate verifies. The URL's query string is a credential: nothing here shows or logs more
// of it than upload_url_shown (net/upload_url.h) gives.

struct UploadRequest {
    std::string file;  // UTF-8 path
    std::string url;   // https, or http to this computer
    // Extra "Name: value" lines as given (Azure wants "x-ms-blob-type: BlockBlob"). A Content-Type
    // line replaces the default; Content-Length, Transfer-Encoding and Host are the upload's own.
    std::vector<std::string> header_lines;
    // PEM certificates trusted besides the system's store (a desk's private authority). On Windows
    // only the system's store decides; a refusal then says how to add the authority to it.
    std::string extra_authority_file;
    // The file's MD5 (16 bytes) when it was taken already, with the file's checksum: the upload then
    // does not hash what it sends, which would slow it to the hash's speed.
    std::string known_md5;
    // No byte moving this long fails an attempt. The waits between attempts and the longest
    // Retry-After honoured scale with it (1/60 of it, and all of it).
    int idle_timeout_ms = 60000;
};

struct UploadCallbacks {
    // Bytes the server has taken of the total, on the calling thread, whenever the count grows; an
    // attempt after a failed one counts from 0 again.
    std::function<void(std::int64_t sent, std::int64_t total)> progress;
    // Before the wait for another attempt (2 or 3): how long, and why the last one failed.
    std::function<void(int attempt, int wait_ms, const std::string& reason)> retrying;
    // A stop request ends the upload at once, as stopped.
    std::stop_token stop;
};

enum class UploadFailure {
    none,
    // The file, the address, a header line or the authority file cannot be used; nothing was sent,
    // unless the file stopped being readable on the way.
    unusable,
    rejected,     // the server refused it (a 4xx answer other than 429, a redirect, a certificate)
    unavailable,  // every attempt failed: 5xx or 429 answers, the network, no progress
    not_intact,   // the server stored other bytes than were sent, or answered before all had gone
    stopped,
};

struct UploadResult {
    UploadFailure failure = UploadFailure::none;
    std::string message;  // empty on success; one line that names the URL only in its shown form
    std::string shown_url;
    std::string host;               // the URL's host, with ":port" when it names one
    int status = 0;                 // of the last attempt's answer; 0 when none came
    std::int64_t bytes = 0;         // sent in the last attempt: the file's size on success
    double seconds = 0;             // from the start to the end, waits included
    std::string verified = "none";  // "md5" when the server's checksum was the file's
    int attempts = 0;
    bool ok() const { return failure == UploadFailure::none; }
};

// The most one PUT may carry (S3's limit for a single upload).
constexpr std::int64_t kMaxUploadBytes = 5LL * 1024 * 1024 * 1024;
constexpr int kUploadAttempts = 3;
// The slowest line an attempt is allowed for: with 2 × idle_timeout_ms, the bound on one attempt.
constexpr std::int64_t kSlowestUploadBytesPerSecond = 32 * 1024;

UploadResult upload_file(const UploadRequest& request, const UploadCallbacks& callbacks = {});

// The request's header lines: the caller's, checked, after the default Content-Type unless they give
// their own. False with the problem, which names a line by its field name only (a value may be a
// credential too).
bool upload_header_lines(const std::vector<std::string>& given, std::vector<std::string>& lines,
                         std::string& problem);
