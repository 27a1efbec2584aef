#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An independent reading of the archives our writer makes: every field of the local headers, the
// central directory and the end record, so tests can compare them byte by byte.
struct ZipHeaderFields {
    uint16_t version_made_by = 0;  // central only
    uint16_t version_needed = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dos_time = 0;
    uint16_t dos_date = 0;
    uint32_t crc = 0;
    uint32_t compressed = 0;
    uint32_t uncompressed = 0;
    std::string name;
    std::string extra;
    uint32_t external_attributes = 0;  // central only
    uint32_t local_offset = 0;         // central only
};

struct ZipLayout {
    bool ok = false;  // every structure was where the end record says
    std::vector<ZipHeaderFields> central;
    std::vector<ZipHeaderFields> local;  // the local header each central record points to
    uint16_t entry_count = 0;
    uint32_t central_size = 0;
    uint32_t central_offset = 0;
    uint64_t file_size = 0;
};

ZipLayout read_zip_layout(const std::string& archive_path);
std::string read_file_bytes(const std::string& path);
void write_file_bytes(const std::string& path, const std::string& bytes);

// Info-ZIP's verdict: true when "unzip -t" finds no error.
bool info_zip_accepts(const std::string& archive_path);
// The listing of "zipinfo -1" (one name per line).
std::vector<std::string> zipinfo_names(const std::string& archive_path);
// An entry's content as "unzip -p" extracts it.
std::string unzip_entry(const std::string& archive_path, const std::string& entry_name);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return folder; }
    std::string operator/(const std::string& name) const { return folder + "/" + name; }

private:
    std::string folder;
};
