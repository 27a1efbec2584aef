#pragma once

#include <string>

// The address an upload goes to: a pre-signed URL (S3, Azure Blob SAS, GCS signed URL) whose query
// string is the credential. Only its shown form ever leaves the upload: in output, logs and reports.
struct UploadUrl {
    bool https = true;
    std::string host;  // as written; an IPv6 address keeps its brackets
    int port = 443;
    std::string authority;  // host, and ":port" when the address names one
    std::string target;     // path and query exactly as written, from the "/" on
    std::string shown;      // see upload_url_shown
};

// "https://host/path?…": the address with any query replaced by "?…" and without user name, password
// or fragment. Works on any text, also on one that is no usable address.
std::string upload_url_shown(const std::string& url);

// Reads an https address, or an http one to this computer (127.x.x.x, [::1], localhost). False, with
// `problem` saying why in words that hold nothing of the query, for anything else: another scheme, a
// user name or password, no usable host or port, spaces or control characters.
bool parse_upload_url(const std::string& url, UploadUrl& parsed, std::string& problem);
