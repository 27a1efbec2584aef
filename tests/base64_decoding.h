#pragma once

#include <cryptopp/base64.h>
#include <cryptopp/filters.h>

#include <string>

// Base64 text decoded, for tests that read what the bundle stores encoded (systeminfo.txt). NUL bytes
// (the closing zero, or text stored as UTF-16) and line ends are passed over.
inline std::string base64_decoded(const std::string& text) {
    std::string alphabet_only;
    for (char c : text)
        if (c != '\0' && c != '\r' && c != '\n') alphabet_only += c;
    std::string bytes;
    CryptoPP::StringSource(alphabet_only, true, new CryptoPP::Base64Decoder(new CryptoPP::StringSink(bytes)));
    return bytes;
}
