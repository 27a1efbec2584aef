#pragma once

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "report/zip_file_io.h"

// The writer behind a ZipHandle, shared by the one-entry-at-a-time calls and the parallel packer.
// An entry goes through three steps: prepare (name, source facts, header values), start (the
// provisional local header at the end of the archive) and end (the header rewritten with the real
// CRC and sizes, the entry listed for the central directory); the data goes between start and end.

struct ZipDosStamp {
    uint16_t time = 0;
    uint16_t date = (1 << 5) | 1;  // 1980-01-01
};

struct ZipEntry {
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;  // stored
    ZipDosStamp stamp;
    uint32_t crc = 0;
    uint64_t compressed = 0;
    uint64_t uncompressed = 0;
    uint32_t attributes = 0;
    uint64_t offset = 0;
    uint32_t modified = 0;
    uint32_t accessed = 0;
    uint32_t created = 0;
    // The local header carries its sizes in a ZIP64 field: chosen before the data, when the source
    // may not fit the 32-bit fields.
    bool zip64 = false;

    bool deflated() const;
};

// The classic fields' escape value: a size, offset or count that reaches it goes into ZIP64 records.
inline constexpr uint64_t kZipMax32 = 0xFFFFFFFFu;
inline constexpr uint64_t kZipMaxClassicEntries = 0xFFFFu;

// Whether a source of this many bytes is sure to fit a classic header, its deflated form included
// (deflate may add a little to data that does not compress, and more in small parallel pieces).
bool zip_fits_classic(bool deflated, uint64_t source_bytes);

// Not a result callers see: a source outgrew its classic header while being read, and the entry is
// written again with ZIP64 fields.
inline constexpr int kZipNeedsZip64 = -1;

struct ZipWriter {
    ZipArchiveFile file;
    std::string path;
    uint64_t written = 0;
    bool broken = false;  // a failed entry could not be cut off again
    std::vector<ZipEntry> entries;
    std::unique_ptr<z_stream> deflater;
    std::vector<uint8_t> in;
    std::vector<uint8_t> out;
    std::function<void(uint64_t bytes)> on_read;  // told of every piece read from a source
    std::optional<uint64_t> max_source_bytes;      // a larger source gives kZipPastLimit
    std::stop_token stop;                          // asked between pieces: kZipStopped

    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    bool append(const void* data, size_t size);
    // Drops a failed entry, so that the archive is as it was before the add.
    void cut_back(uint64_t offset);

    // Fills the entry for a file, leaving the source open at its start and its reads limited to
    // max_source_bytes. With zip64 the local header takes ZIP64 fields whatever the size.
    int prepare_file(const std::string& entry_name, const std::string& source_path, ZipSourceFile& source,
                     ZipEntry& entry, bool zip64 = false);
    int prepare_folder(const std::string& entry_name, ZipEntry& entry);
    // Writes the provisional local header; the entry's offset is where it starts.
    int start_entry(ZipEntry& entry);
    // Checks the limits, rewrites the local header and lists the entry; cuts it off on failure.
    int end_entry(ZipEntry&& entry);

    // One whole entry on the calling thread.
    int add(const std::string& entry_name, const std::string* source_path);

private:
    bool ready_deflater();
    int add_file(const std::string& entry_name, const std::string& source_path, bool zip64);
    int copy_data(ZipSourceFile& source, ZipEntry& entry);
};

// Resets the stream, or makes it on first use, with the archive's one set of parameters (raw deflate,
// level 8, 32 KiB window, memory level 8), so that every thread chooses its blocks the same way.
bool zip_ready_deflater(std::unique_ptr<z_stream>& stream);

// Stores the result as the latest one and returns it.
int zip_finish(int result);
