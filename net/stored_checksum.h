#pragma once

#include <string>

#include "net/http_header_fields.h"

// What an upload's answer says of the bytes the server stored, against the MD5 of the bytes sent:
// S3 gives the MD5 as its ETag ("32 hexadecimal digits", in quotes) for a single PUT, Azure as
// Content-MD5 (Base64), GCS in x-goog-hash ("md5=" Base64). Other ETags (Azure's, multipart ones)
// are no MD5 and say nothing.
struct StoredChecksum {
    bool given = false;    // some field held an MD5
    bool matches = false;  // every MD5 given is the one sent
    std::string field;     // the field that differs, else the one that matched
    std::string value;     // its value as the server wrote it
};

// `sent_md5`: the 16 bytes of the digest.
StoredChecksum check_stored_checksum(const HttpHeaderFields& answer, const std::string& sent_md5);
