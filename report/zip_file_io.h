#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The few file operations the ZIP writer needs from the platform. On Windows the share modes of the
// system do the locking; on POSIX advisory locks (flock) stand in for them, so that a program that
// locks its file for writing, or another archive being written, is respected the same way.

// Facts of an open source file, read from the open handle.
struct ZipSourceFacts {
    uint64_t size = 0;
    bool read_only = false;  // the owner may not write it
    int64_t modified = 0;    // seconds since 1970-01-01 UTC
    int64_t accessed = 0;
    int64_t created = 0;  // birth time where the file system keeps one, else the status-change time
};

// A source opened for reading. Only a regular file is opened for reading: a named pipe, a device or a
// socket is refused from its status alone, before anything is read (it could block for ever, or
// never end).
class ZipSourceFile {
public:
    ZipSourceFile() = default;
    ~ZipSourceFile();
    ZipSourceFile(const ZipSourceFile&) = delete;
    ZipSourceFile& operator=(const ZipSourceFile&) = delete;

    // False when the file cannot be opened, is no regular file, or its facts cannot be read, and
    // when it is held by a writer unless writers_too (a live log, read as far as it is written).
    // Other readers may share it either way.
    bool open(const std::string& path, bool writers_too = false);
    // After a failed open: what stands at the path is something other than a regular file.
    bool not_regular_file() const { return refused_not_regular; }
    const ZipSourceFacts& facts() const { return source_facts; }
    // Sequential reads stop after max_bytes + 1 bytes, so that a file growing past a size limit
    // cannot hold its reader; past_limit() then tells.
    void limit_reads(uint64_t max_bytes) { read_limit = max_bytes; }
    bool past_limit() const { return taken > read_limit; }
    // Bytes read, 0 at the end (or once past the limit), -1 on a read error.
    long long read(void* buffer, size_t size) {
        if (past_limit()) return 0;
        if (read_limit != kNoLimit && size > read_limit - taken + 1)
            size = static_cast<size_t>(read_limit - taken + 1);
        const long long n = read_native(buffer, size);
        if (n > 0) taken += static_cast<uint64_t>(n);
        return n;
    }
    // Reads at a position without moving the sequential read position (and without the limit).
    long long read_at(uint64_t offset, void* buffer, size_t size);
    void close();

private:
    static constexpr uint64_t kNoLimit = ~uint64_t{0};
    long long read_native(void* buffer, size_t size);

    std::intptr_t native = -1;  // the platform's file handle
    ZipSourceFacts source_facts;
    bool refused_not_regular = false;
    uint64_t read_limit = kNoLimit;
    uint64_t taken = 0;
};

// Copies a file that another program may hold open for writing (a product's live log) to a new file
// at copy_path, keeping its modification time. Never replaces what is already at copy_path (and so
// never follows a link planted there). False when the copy could not be made whole.
bool copy_held_file(const std::string& source_path, const std::string& copy_path);

// The archive being written: created or truncated, written by no one else while it is open.
class ZipArchiveFile {
public:
    ZipArchiveFile() = default;
    ~ZipArchiveFile();
    ZipArchiveFile(const ZipArchiveFile&) = delete;
    ZipArchiveFile& operator=(const ZipArchiveFile&) = delete;

    bool create(const std::string& path);
    bool write(const void* data, size_t size);  // appends
    bool write_at(uint64_t offset, const void* data, size_t size);
    // Cuts the file back to length, dropping a partly written entry.
    bool truncate(uint64_t length);
    bool close();

private:
    std::intptr_t native = -1;  // the platform's file handle
};
