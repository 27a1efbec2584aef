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

// A source opened for reading that lets other readers in but no writer.
class ZipSourceFile {
public:
    ZipSourceFile() = default;
    ~ZipSourceFile();
    ZipSourceFile(const ZipSourceFile&) = delete;
    ZipSourceFile& operator=(const ZipSourceFile&) = delete;

    // False when the file cannot be opened, is held by a writer, or its facts cannot be read.
    bool open(const std::string& path);
    const ZipSourceFacts& facts() const { return source_facts; }
    // Bytes read, 0 at the end, -1 on a read error.
    long long read(void* buffer, size_t size);
    // Reads at a position without moving the sequential read position.
    long long read_at(uint64_t offset, void* buffer, size_t size);
    void close();

private:
    std::intptr_t native = -1;  // the platform's file handle
    ZipSourceFacts source_facts;
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
