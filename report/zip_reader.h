#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/byte_sink.h"
#include "report/inflate_stream.h"

// Reads the ZIP archives logs are rotated into, so that their texts can be redacted: entries stored
// or deflated, found through the central directory. Archives in ZIP64 form, split over several files
// or with encrypted entries are not read (open or extract says so).

struct ZipReadEntry {
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint64_t compressed = 0;
    uint64_t size = 0;
    uint64_t header_offset = 0;
    int64_t modified = 0;  // calendar seconds (the DOS stamp taken as UTC, as our writer writes it)

    bool folder() const { return !name.empty() && name.back() == '/'; }
};

class ZipSourceFile;

class ZipReader {
public:
    // Lists the archive in an open file, which must stay open while the reader is used. False when it
    // is no archive this reader can list.
    bool open(ZipSourceFile& source);
    const std::vector<ZipReadEntry>& entries() const { return listed; }
    // The entry's content into sink, its checksum and length checked.
    UnpackResult extract(const ZipReadEntry& entry, ByteSink& sink, uint64_t& budget);

private:
    bool read_at(uint64_t offset, std::string& bytes, size_t size);

    ZipSourceFile* file = nullptr;
    uint64_t file_size = 0;
    std::vector<ZipReadEntry> listed;
};
