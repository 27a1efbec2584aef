#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Takes the body of a 200 answer as it arrives, either into a file or into a text buffer.
//
// In memory the buffer holds the announced length (at most kMaxCapacity), or kDefaultCapacity when
// none was announced; a body that brings more keeps its first bytes up to that size. A byte-order mark at the
// start is dropped, and within every kPieceSize piece of the body nothing after the piece's first NUL byte is
// kept; a body that begins with a UTF-16 byte-order mark is kept whole instead and decoded. To a file, the
// first non-empty piece replaces any old file; an empty body leaves an old file untouched.
class HttpBodySink {
public:
    static constexpr std::size_t kDefaultCapacity = 40960;
    static constexpr std::size_t kPieceSize = 4096;
    // A length the server announces never makes the buffer grow beyond this.
    static constexpr std::size_t kMaxCapacity = 16 * 1024 * 1024;

    // announced_length < 0 means none was announced. A limit above 0 refuses a body that announces
    // or brings more bytes than that (too_large() then tells).
    HttpBodySink(std::string download_path, std::int64_t announced_length, std::size_t limit = 0);

    // False when the file could not be replaced or created (failure() then holds the text), or
    // when the body went beyond the limit.
    bool write(const char* data, std::size_t size);
    const std::string& failure() const { return failure_text; }
    bool too_large() const { return beyond_limit; }

    // The kept text as UTF-8 (stray bytes become U+FFFD); closes the file when writing to one.
    std::string finish();

private:
    bool open_file();
    void keep_in_memory(const char* data, std::size_t size);

    std::string download_path;
    std::size_t capacity;
    std::size_t limit;
    std::int64_t announced_length;
    std::uint64_t received = 0;
    bool beyond_limit = false;
    std::string text;
    std::uint64_t offset = 0;
    bool piece_cut = false;
    bool mark_dropped = false;
    bool utf16 = false;  // the body began with a UTF-16 byte-order mark
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file;
    std::string failure_text;
};

// The text with every byte that does not belong to a well-formed UTF-8 sequence replaced by U+FFFD.
std::string valid_utf8(const std::string& text);
