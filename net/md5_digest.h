#pragma once

#include <cstddef>
#include <memory>
#include <string>

// The MD5 of bytes given piece by piece: what object stores report of a single upload, so that the
// sender can tell the stored bytes are the ones it sent.
class Md5Digest {
public:
    Md5Digest();
    ~Md5Digest();
    Md5Digest(const Md5Digest&) = delete;
    Md5Digest& operator=(const Md5Digest&) = delete;

    void add(const void* data, std::size_t size);
    // The 16 bytes of the digest of everything added so far; a new digest starts after it.
    std::string finish();

private:
    struct State;
    std::unique_ptr<State> state;
};

// Lower-case hexadecimal of bytes.
std::string hex_text(const std::string& bytes);
