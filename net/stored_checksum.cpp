#include "net/stored_checksum.h"

#include <optional>

#include "net/md5_digest.h"
#include "sys/ascii_text.h"
#include "sys/text_convert.h"

namespace {

// The MD5 a field gives, in the form it can be compared in: lower-case hexadecimal for an ETag,
// Base64 for the others; empty when the field gives none.
std::optional<std::string> given_md5(const std::string& name, const std::string& value) {
    const std::string field = ascii_lower(name);
    if (field == "content-md5" || field == "x-ms-content-md5") return value;
    if (field == "x-goog-hash") {
        for (std::size_t start = 0; start < value.size();) {
            std::size_t end = value.find(',', start);
            if (end == std::string::npos) end = value.size();
            std::string part = value.substr(start, end - start);
            part.erase(0, part.find_first_not_of(' '));
            if (part.starts_with("md5=")) return part.substr(4);
            start = end + 1;
        }
        return std::nullopt;
    }
    if (field == "etag" && value.size() == 34 && value.front() == '"' && value.back() == '"') {
        const std::string digits = ascii_lower(value.substr(1, 32));
        if (digits.find_first_not_of("0123456789abcdef") == std::string::npos) return digits;
    }
    return std::nullopt;
}

}  // namespace

StoredChecksum check_stored_checksum(const HttpHeaderFields& answer, const std::string& sent_md5) {
    const std::string hex = hex_text(sent_md5);
    const std::string base64 = base64_encode(sent_md5);
    StoredChecksum check;
    for (const auto& [name, value] : answer) {
        const std::optional<std::string> md5 = given_md5(name, value);
        if (!md5) continue;
        const bool same = *md5 == (ascii_lower(name) == "etag" ? hex : base64);
        if (!same) return {true, false, name, value};
        if (!check.given) check = {true, true, name, value};
    }
    return check;
}
