#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "sys/fs_path.h"
#include "sys/run_and_capture.h"

#ifdef _WIN32
#include <zlib.h>
#endif

// Shared by the report and the collection tests, which live in different test areas, hence header only.
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

// Verdicts and readings of tools that are not ours (on Windows, which has none of them, the archive
// is read in process: see below).
// Info-ZIP's verdict: true when "unzip -t" finds no error.
bool info_zip_accepts(const std::string& archive_path);
// Python's verdict: true when zipfile opens the archive and finds every entry's CRC right.
bool python_zipfile_accepts(const std::string& archive_path);
// 7-Zip's verdict: true when "7zz t" finds no error (POSIX only: ZIP64 archives are checked there).
bool seven_zip_accepts(const std::string& archive_path);
// Python's reading of the archive, through the ZIP64 records where there are any: the number of
// entries and, for each entry named in `names`, "name size crc" on a line of its own.
std::string python_zip_listing(const std::string& archive_path, const std::vector<std::string>& names);
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

namespace zip_test_detail {

inline uint32_t get16(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
inline uint32_t get32(const std::string& b, size_t at) {
    return get16(b, at) | get16(b, at + 2) << 16;
}

inline std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace zip_test_detail

inline std::string read_file_bytes(const std::string& path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline void write_file_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(fs_path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline ZipLayout read_zip_layout(const std::string& archive_path) {
    ZipLayout z;
    const std::string b = read_file_bytes(archive_path);
    z.file_size = b.size();
    if (b.size() < 22) return z;
    const size_t end = b.size() - 22;  // we never write an archive comment
    if (zip_test_detail::get32(b, end) != 0x06054b50) return z;
    z.entry_count = static_cast<uint16_t>(zip_test_detail::get16(b, end + 10));
    z.central_size = zip_test_detail::get32(b, end + 12);
    z.central_offset = zip_test_detail::get32(b, end + 16);
    if (uint64_t{z.central_offset} + z.central_size != end) return z;
    size_t at = z.central_offset;
    for (int i = 0; i < z.entry_count; ++i) {
        if (at + 46 > end || zip_test_detail::get32(b, at) != 0x02014b50) return z;
        ZipHeaderFields c;
        c.version_made_by = static_cast<uint16_t>(zip_test_detail::get16(b, at + 4));
        c.version_needed = static_cast<uint16_t>(zip_test_detail::get16(b, at + 6));
        c.flags = static_cast<uint16_t>(zip_test_detail::get16(b, at + 8));
        c.method = static_cast<uint16_t>(zip_test_detail::get16(b, at + 10));
        c.dos_time = static_cast<uint16_t>(zip_test_detail::get16(b, at + 12));
        c.dos_date = static_cast<uint16_t>(zip_test_detail::get16(b, at + 14));
        c.crc = zip_test_detail::get32(b, at + 16);
        c.compressed = zip_test_detail::get32(b, at + 20);
        c.uncompressed = zip_test_detail::get32(b, at + 24);
        const size_t name_len = zip_test_detail::get16(b, at + 28),
                     extra_len = zip_test_detail::get16(b, at + 30),
                     comment_len = zip_test_detail::get16(b, at + 32);
        c.external_attributes = zip_test_detail::get32(b, at + 38);
        c.local_offset = zip_test_detail::get32(b, at + 42);
        c.name = b.substr(at + 46, name_len);
        c.extra = b.substr(at + 46 + name_len, extra_len);
        at += 46 + name_len + extra_len + comment_len;

        const size_t l_at = c.local_offset;
        if (l_at + 30 > b.size() || zip_test_detail::get32(b, l_at) != 0x04034b50) return z;
        ZipHeaderFields l;
        l.version_needed = static_cast<uint16_t>(zip_test_detail::get16(b, l_at + 4));
        l.flags = static_cast<uint16_t>(zip_test_detail::get16(b, l_at + 6));
        l.method = static_cast<uint16_t>(zip_test_detail::get16(b, l_at + 8));
        l.dos_time = static_cast<uint16_t>(zip_test_detail::get16(b, l_at + 10));
        l.dos_date = static_cast<uint16_t>(zip_test_detail::get16(b, l_at + 12));
        l.crc = zip_test_detail::get32(b, l_at + 14);
        l.compressed = zip_test_detail::get32(b, l_at + 18);
        l.uncompressed = zip_test_detail::get32(b, l_at + 22);
        const size_t l_name = zip_test_detail::get16(b, l_at + 26),
                     l_extra = zip_test_detail::get16(b, l_at + 28);
        l.name = b.substr(l_at + 30, l_name);
        l.extra = b.substr(l_at + 30 + l_name, l_extra);
        z.central.push_back(c);
        z.local.push_back(l);
    }
    z.ok = at == end;
    return z;
}

#ifdef _WIN32
// Windows has neither Info-ZIP nor Python: the archive is read here instead, every entry found through
// the central directory, checked against its local header and inflated with zlib to its size and CRC.
namespace zip_test_detail {

// The entry's stored bytes inflated (or copied when stored); false when anything does not add up.
inline bool extract(const std::string& archive, const ZipLayout& z, size_t i, std::string& out) {
    const ZipHeaderFields& c = z.central[i];
    const ZipHeaderFields& l = z.local[i];
    if (l.name != c.name || l.method != c.method || l.flags != c.flags || l.crc != c.crc ||
        l.compressed != c.compressed || l.uncompressed != c.uncompressed)
        return false;
    const size_t data = size_t{c.local_offset} + 30 + l.name.size() + l.extra.size();
    if (data + c.compressed > z.central_offset) return false;
    out.assign(c.uncompressed, '\0');
    if (c.method == 0) {
        if (c.compressed != c.uncompressed) return false;
        out = archive.substr(data, c.compressed);
    } else if (c.method == 8) {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(archive.data() + data));
        stream.avail_in = c.compressed;
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = c.uncompressed;
        const int status = inflate(&stream, Z_FINISH);
        const bool whole = status == Z_STREAM_END && stream.avail_in == 0 && stream.avail_out == 0;
        inflateEnd(&stream);
        if (!whole) return false;
    } else {
        return false;
    }
    return crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size())) == c.crc;
}

inline bool every_entry_extracts(const std::string& archive_path) {
    const ZipLayout z = read_zip_layout(archive_path);
    if (!z.ok) return false;
    const std::string archive = read_file_bytes(archive_path);
    std::string content;
    for (size_t i = 0; i < z.central.size(); ++i)
        if (!extract(archive, z, i, content)) return false;
    return true;
}

}  // namespace zip_test_detail

inline bool info_zip_accepts(const std::string& archive_path) {
    return zip_test_detail::every_entry_extracts(archive_path);
}

inline bool python_zipfile_accepts(const std::string& archive_path) {
    return zip_test_detail::every_entry_extracts(archive_path);
}

inline std::vector<std::string> zipinfo_names(const std::string& archive_path) {
    std::vector<std::string> names;
    for (const ZipHeaderFields& entry : read_zip_layout(archive_path).central) names.push_back(entry.name);
    return names;
}

inline std::string unzip_entry(const std::string& archive_path, const std::string& entry_name) {
    const ZipLayout z = read_zip_layout(archive_path);
    const std::string archive = read_file_bytes(archive_path);
    std::string content;
    for (size_t i = 0; i < z.central.size(); ++i)
        if (z.central[i].name == entry_name)
            return zip_test_detail::extract(archive, z, i, content) ? content : "";
    return "";
}
#else
inline bool info_zip_accepts(const std::string& archive_path) {
    std::string out = run_and_capture(
        "unzip -tqq " + zip_test_detail::quoted(archive_path) + " >/dev/null 2>&1; echo rc=$?", 600000);
    return out.find("rc=0") != std::string::npos;
}

inline bool python_zipfile_accepts(const std::string& archive_path) {
    const std::string script =
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1]) as z:\n"
        "    print('crc-ok' if z.testzip() is None else 'crc-bad')\n";
    const std::string out = run_and_capture("python3 -c " + zip_test_detail::quoted(script) + " " +
                                                zip_test_detail::quoted(archive_path) + " 2>&1",
                                            600000);
    return out.find("crc-ok") != std::string::npos;
}

inline bool seven_zip_accepts(const std::string& archive_path) {
    const std::string out = run_and_capture(
        "7zz t -bso0 -bsp0 " + zip_test_detail::quoted(archive_path) + " >/dev/null 2>&1; echo rc=$?", 600000);
    return out.find("rc=0") != std::string::npos;
}

inline std::string python_zip_listing(const std::string& archive_path, const std::vector<std::string>& names) {
    std::string script =
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1]) as z:\n"
        "    entries = z.infolist()\n"
        "    print(len(entries))\n"
        "    for e in entries:\n"
        "        if e.filename in sys.argv[2:]: print(e.filename, e.file_size, '%08x' % e.CRC)\n";
    std::string command = "python3 -c " + zip_test_detail::quoted(script) + " " + zip_test_detail::quoted(archive_path);
    for (const std::string& name : names) command += " " + zip_test_detail::quoted(name);
    return run_and_capture(command + " 2>&1", 600000);
}

inline std::vector<std::string> zipinfo_names(const std::string& archive_path) {
    std::string out =
        run_and_capture("zipinfo -1 " + zip_test_detail::quoted(archive_path) + " 2>/dev/null", 60000);
    std::vector<std::string> names;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) names.push_back(line);
    return names;
}

inline std::string unzip_entry(const std::string& archive_path, const std::string& entry_name) {
    // Through a file: the captured output of a command has its line ends rewritten.
    const std::string out = archive_path + ".extracted";
    run_and_capture("unzip -p " + zip_test_detail::quoted(archive_path) + " " +
                        zip_test_detail::quoted(entry_name) + " >" + zip_test_detail::quoted(out) +
                        " 2>/dev/null",
                    60000);
    std::string bytes = read_file_bytes(out);
    std::error_code ec;
    std::filesystem::remove(fs_path(out), ec);
    return bytes;
}
#endif

inline ScratchFolder::ScratchFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("report_test_" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            folder = utf8_of(candidate);
            return;
        }
    }
}

inline ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(fs_path(folder), ec);
}
