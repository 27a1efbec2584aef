#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

// A small ZIP writer: create an archive, add files and folders one at a time (deflated at level 8, or
// stored when already compressed), close it with its central directory. No data descriptors, no
// encryption. ZIP64 records are written exactly where a value passes the classic fields: a file that
// may not fit 32 bits gets them in its local and central header, an entry past 4 GiB into the archive
// in its central header, and an archive of 65,535 entries or more, or whose central directory passes
// 4 GiB, the ZIP64 end records; any other archive is the classic format. Names that are valid UTF-8
// beyond plain ASCII carry general-purpose bit 11; other names keep their bytes without it. Memory use
// does not depend on the size of the files. ZipFileList deflates on every core (see ZipPackOptions)
// into the same archive.

inline constexpr int kZipOk = 0;
inline constexpr int kZipCannotOpen = 0x00000200;   // archive not created, or source not opened/examined
inline constexpr int kZipWriteFailed = 0x00000400;  // writing or compressing failed
inline constexpr int kZipBadArgument = 0x00010000;  // no handle, or an unusable entry name
inline constexpr int kZipTooLarge = 0x00020000;     // an entry outgrew the header written for it
inline constexpr int kZipNotCreated = 0x00040000;   // ZipFileList could not create the archive
inline constexpr int kZipPastLimit = 0x00080000;    // the source was larger than ZipPackOptions allow
inline constexpr int kZipNotRegularFile = 0x00100000;  // a named pipe, a device or a socket: never read
inline constexpr int kZipStopped = 0x00200000;         // ZipPackOptions::stop came; the archive is gone

// The result of the calling thread's latest call; each thread has its own, as two collections may
// pack at once.
extern thread_local int g_zip_last_result;

struct ZipWriter;
using ZipHandle = ZipWriter*;

// Creates (or replaces) the archive, held exclusively while it is written. nullptr on failure. A stop
// request makes every later add return kZipStopped (between pieces of a file, too).
ZipHandle ZipCreate(const std::string& archive_path, std::stop_token stop = {});
// Adds the file at source_path under entry_name ("\" becomes "/").
int ZipAddFile(ZipHandle zip, const std::string& entry_name, const std::string& source_path);
// Adds a folder entry; a trailing "/" is added when missing.
int ZipAddFolder(ZipHandle zip, const std::string& entry_name);
// Writes the central directory and closes the file; the handle is gone afterwards.
int ZipClose(ZipHandle zip);
// Closes the unfinished archive and removes it; the handle is gone afterwards.
void ZipDiscard(ZipHandle zip);

// A file of a ZipFileList that did not make it into the archive, and why.
struct ZipFileFailure {
    std::string path;
    int result = kZipOk;
};

inline constexpr int kZipMaxWorkers = 8;
// Large enough that the few bytes each piece costs are lost in the noise, small enough that a 100 MB
// log keeps every core busy and that the pieces in flight stay a few megabytes (see bench/zip).
inline constexpr size_t kZipChunkBytes = size_t{1} << 20;

struct ZipPackOptions {
    // Threads deflating at once: 0 follows the cores (at most kZipMaxWorkers); 1 packs everything on the
    // calling thread, exactly as ZipAddFile does. The archive holds the same entries either way.
    int workers = 0;
    // With more than one worker, a file is deflated in pieces of this size at once.
    size_t chunk_bytes = kZipChunkBytes;
    // Source bytes packed so far and the total listed, on the calling thread, as the packing goes.
    std::function<void(uint64_t done, uint64_t total)> progress;
    // A file larger than this, also one that grows past it while it is read, stays out (kZipPastLimit).
    std::optional<uint64_t> max_file_bytes;
    // Asked between pieces of at most a chunk: the packing ends, the unfinished archive is removed,
    // and ZipFileList returns kZipStopped.
    std::stop_token stop;
};

// Packs files found below base_folder under names relative to it, inside a root folder entry when
// root is not empty. A file that cannot be opened (another program holds it) is packed through a
// temporary copy beside the archive, under the original's modification time. Returns the result of
// closing the archive, kZipNotCreated or kZipStopped; the files that could not be packed are appended
// to failures when it is given.
int ZipFileList(const std::string& root, const std::string& base_folder, const std::string& archive_path,
                const std::vector<std::string>& files, std::vector<ZipFileFailure>* failures = nullptr,
                const ZipPackOptions& options = {});

// The number of workers options.workers asks for on this machine.
int zip_worker_count(int requested);

// English text of a result code, for logs.
std::string zip_result_text(int result);
