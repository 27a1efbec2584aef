#include "tests/report/zip_reader_support.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "sys/fs_path.h"
#include "sys/run_and_capture.h"

namespace {

uint32_t get16(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t get32(const std::string& b, size_t at) { return get16(b, at) | get16(b, at + 2) << 16; }

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

std::string read_file_bytes(const std::string& path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void write_file_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(fs_path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

ZipLayout read_zip_layout(const std::string& archive_path) {
    ZipLayout z;
    const std::string b = read_file_bytes(archive_path);
    z.file_size = b.size();
    if (b.size() < 22) return z;
    const size_t end = b.size() - 22;  // we never write an archive comment
    if (get32(b, end) != 0x06054b50) return z;
    z.entry_count = static_cast<uint16_t>(get16(b, end + 10));
    z.central_size = get32(b, end + 12);
    z.central_offset = get32(b, end + 16);
    if (uint64_t{z.central_offset} + z.central_size != end) return z;
    size_t at = z.central_offset;
    for (int i = 0; i < z.entry_count; ++i) {
        if (at + 46 > end || get32(b, at) != 0x02014b50) return z;
        ZipHeaderFields c;
        c.version_made_by = static_cast<uint16_t>(get16(b, at + 4));
        c.version_needed = static_cast<uint16_t>(get16(b, at + 6));
        c.flags = static_cast<uint16_t>(get16(b, at + 8));
        c.method = static_cast<uint16_t>(get16(b, at + 10));
        c.dos_time = static_cast<uint16_t>(get16(b, at + 12));
        c.dos_date = static_cast<uint16_t>(get16(b, at + 14));
        c.crc = get32(b, at + 16);
        c.compressed = get32(b, at + 20);
        c.uncompressed = get32(b, at + 24);
        const size_t name_len = get16(b, at + 28), extra_len = get16(b, at + 30), comment_len = get16(b, at + 32);
        c.external_attributes = get32(b, at + 38);
        c.local_offset = get32(b, at + 42);
        c.name = b.substr(at + 46, name_len);
        c.extra = b.substr(at + 46 + name_len, extra_len);
        at += 46 + name_len + extra_len + comment_len;

        const size_t l_at = c.local_offset;
        if (l_at + 30 > b.size() || get32(b, l_at) != 0x04034b50) return z;
        ZipHeaderFields l;
        l.version_needed = static_cast<uint16_t>(get16(b, l_at + 4));
        l.flags = static_cast<uint16_t>(get16(b, l_at + 6));
        l.method = static_cast<uint16_t>(get16(b, l_at + 8));
        l.dos_time = static_cast<uint16_t>(get16(b, l_at + 10));
        l.dos_date = static_cast<uint16_t>(get16(b, l_at + 12));
        l.crc = get32(b, l_at + 14);
        l.compressed = get32(b, l_at + 18);
        l.uncompressed = get32(b, l_at + 22);
        const size_t l_name = get16(b, l_at + 26), l_extra = get16(b, l_at + 28);
        l.name = b.substr(l_at + 30, l_name);
        l.extra = b.substr(l_at + 30 + l_name, l_extra);
        z.central.push_back(c);
        z.local.push_back(l);
    }
    z.ok = at == end;
    return z;
}

bool info_zip_accepts(const std::string& archive_path) {
    std::string out = run_and_capture("unzip -tqq " + quoted(archive_path) + " >/dev/null 2>&1; echo rc=$?", 60000);
    return out.find("rc=0") != std::string::npos;
}

std::vector<std::string> zipinfo_names(const std::string& archive_path) {
    std::string out = run_and_capture("zipinfo -1 " + quoted(archive_path) + " 2>/dev/null", 60000);
    std::vector<std::string> names;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) names.push_back(line);
    return names;
}

std::string unzip_entry(const std::string& archive_path, const std::string& entry_name) {
    // Through a file: the captured output of a command has its line ends rewritten.
    const std::string out = archive_path + ".extracted";
    run_and_capture("unzip -p " + quoted(archive_path) + " " + quoted(entry_name) + " >" + quoted(out) + " 2>/dev/null",
                    60000);
    std::string bytes = read_file_bytes(out);
    std::error_code ec;
    std::filesystem::remove(fs_path(out), ec);
    return bytes;
}

ScratchFolder::ScratchFolder() {
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

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(fs_path(folder), ec);
}
