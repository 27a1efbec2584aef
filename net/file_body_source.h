#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "net/http_transport.h"
#include "net/md5_digest.h"

// A file's bytes as an HTTP body, read piece by piece as they go out (never the whole file in
// memory), their MD5 taken on the way unless it is known.
class FileBodySource : public HttpBodySource {
public:
    // Opens the file (a UTF-8 path); exactly `size` bytes go out, the size it had when it was
    // measured. `known_md5`: the file's MD5 (16 bytes) or empty. `on_sent` hears how many have gone.
    FileBodySource(const std::string& path, std::int64_t size, std::string known_md5,
                   std::function<void(std::int64_t)> on_sent);

    std::int64_t size() const override { return total; }
    // -1 when the file cannot be read, also when it ends before its size (it changed meanwhile).
    std::int64_t read(char* buffer, std::size_t capacity) override;
    void sent(std::int64_t bytes) override;

    bool failed() const { return unreadable; }
    bool read_whole() const { return taken == total; }
    std::int64_t bytes_sent() const { return gone; }
    // The 16 bytes of the file's MD5: the one known, else that of what was read; once.
    std::string md5() { return known_md5.empty() ? digest.finish() : known_md5; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file;
    std::int64_t total;
    std::function<void(std::int64_t)> on_sent;
    std::int64_t taken = 0;
    std::int64_t gone = 0;
    bool unreadable = false;
    const std::string known_md5;
    Md5Digest digest;
};
