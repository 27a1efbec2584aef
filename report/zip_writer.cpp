#include "report/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

#include "net/http_body_sink.h"
#include "report/zip_file_io.h"
#include "report/zip_format.h"
#include "report/zip_writer_state.h"
#include "res/report_texts.h"
#include "res/string_table.h"
#include "sys/ascii_text.h"
#include "sys/date_time_text.h"
#include "sys/fs_path.h"

thread_local int g_zip_last_result = kZipOk;

namespace {

constexpr size_t kPiece = 16384;
constexpr uint64_t kMax32 = kZipMax32;
constexpr size_t kLocalExtraSize = 17;
constexpr size_t kCentralExtraSize = 9;

constexpr uint16_t kVersionMadeBy = 0x0B17;
constexpr uint16_t kVersionNeeded = 20;
// ZIP64 fields need a reader of version 4.5.
constexpr uint16_t kVersionMadeByZip64 = 0x0B2D;
constexpr uint16_t kVersionNeededZip64 = 45;
constexpr uint16_t kZip64Tag = 0x0001;
constexpr uint16_t kFlagMaxCompression = 0x0002;  // deflate option bits for level 8 and 9
constexpr uint16_t kFlagDataDescriptor = 0x0008;  // set only until the header is rewritten
constexpr uint16_t kFlagUtf8Name = 0x0800;

constexpr uint32_t kFolderAttributes = 0x41C00010;

// Little-endian field writer over a byte buffer.
class Bytes {
public:
    void u16(uint32_t v) {
        data.push_back(static_cast<uint8_t>(v));
        data.push_back(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void u64(uint64_t v) {
        u32(static_cast<uint32_t>(v));
        u32(static_cast<uint32_t>(v >> 32));
    }
    void text(const std::string& s) { data.insert(data.end(), s.begin(), s.end()); }
    std::vector<uint8_t> data;
};

// The DOS format cannot hold years before 1980 or after 2107; such times are clamped to its ends.
ZipDosStamp dos_stamp(int year, int month, int day, int hour, int minute, int second) {
    ZipDosStamp s;
    if (year < 1980) return s;
    if (year > 2107) {
        year = 2107, month = 12, day = 31, hour = 23, minute = 59, second = 59;
    }
    s.date = static_cast<uint16_t>(((year - 1980) & 0x7F) << 9 | month << 5 | day);
    s.time = static_cast<uint16_t>(hour << 11 | minute << 5 | second / 2);
    return s;
}

// Calendar fields of a UTC time (days-from-civil inverted), free of the C library's static buffers.
ZipDosStamp dos_stamp_utc(int64_t seconds) {
    int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    int64_t rest = seconds - days * 86400;
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t doe = days - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return dos_stamp(year, month, day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                     static_cast<int>(rest % 60));
}

uint32_t unix_seconds(int64_t t) {
    return static_cast<uint32_t>(std::clamp<int64_t>(t, 0, kMax32));
}

bool already_compressed(const std::string& name) {
    static const std::array<const char*, 8> kExtensions = {"z",   "zip", "zoo", "arc",
                                                           "lzh", "arj", "gz",  "tgz"};
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string ext = ascii_lower(name.substr(dot + 1));
    return std::find(kExtensions.begin(), kExtensions.end(), ext) != kExtensions.end();
}

bool is_plain_ascii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return c < 0x80; });
}

// Bit 11 promises UTF-8, and readers that trust it refuse the whole archive when a name breaks the
// promise. Other names keep their bytes without the flag: every reader opens them, and a reader on the
// system they came from gets the original name back.
bool needs_utf8_flag(const std::string& name) {
    return !is_plain_ascii(name) && valid_utf8(name) == name;
}

uint32_t le32(const uint8_t* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// An executable carries "MZ" and, at the offset stored at 0x3C, a PE, NE, LE or MZ signature.
bool looks_executable(ZipSourceFile& source) {
    const uint64_t size = source.facts().size;
    if (size <= 40) return false;
    uint8_t head[2];
    uint8_t where[4];
    if (source.read_at(0, head, 2) != 2 || head[0] != 'M' || head[1] != 'Z') return false;
    if (source.read_at(0x3C, where, 4) != 4) return false;
    const uint64_t pos = le32(where);
    if (size <= pos + 52) return false;
    uint8_t sig[4];
    if (source.read_at(pos, sig, 4) != 4 || sig[2] != 0 || sig[3] != 0) return false;
    return (sig[0] == 'P' && sig[1] == 'E') || (sig[0] == 'N' && sig[1] == 'E') ||
           (sig[0] == 'L' && sig[1] == 'E') || (sig[0] == 'M' && sig[1] == 'Z');
}

uint32_t file_attributes(const ZipSourceFacts& facts, bool executable) {
    uint32_t windows = 0x20;  // archive
    if (facts.read_only) windows |= 0x01;
    uint32_t mode = 0x8000 | 0x0100;
    if (!facts.read_only) mode |= 0x0080;
    if (executable) mode |= 0x0040;
    return mode << 16 | windows;
}

}  // namespace

bool ZipEntry::deflated() const {
    return method == kZipMethodDeflated;
}

ZipWriter::ZipWriter() : in(kPiece), out(kPiece) {}

ZipWriter::~ZipWriter() {
    if (deflater) deflateEnd(deflater.get());
}

bool ZipWriter::append(const void* data, size_t size) {
    if (!file.write(data, size)) return false;
    written += size;
    return true;
}

bool zip_ready_deflater(std::unique_ptr<z_stream>& stream) {
    if (stream) return deflateReset(stream.get()) == Z_OK;
    auto z = std::make_unique<z_stream>();
    if (deflateInit2(z.get(), 8, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    stream = std::move(z);
    return true;
}

// Deflate state, made on the first deflated entry and reused for the rest of the archive.
bool ZipWriter::ready_deflater() {
    return zip_ready_deflater(deflater);
}

void ZipWriter::cut_back(uint64_t offset) {
    if (file.truncate(offset))
        written = offset;
    else
        broken = true;
}

namespace {

// The escape value in a classic field whose real value is in the ZIP64 field.
uint32_t classic(uint64_t value, bool in_zip64) {
    return in_zip64 ? static_cast<uint32_t>(kMax32) : static_cast<uint32_t>(value);
}

// An entry whose local header starts past 4 GiB is ZIP64 too: its central offset needs the field.
bool offset_in_zip64(const ZipEntry& e) {
    return e.offset >= kMax32;
}

bool needs_version_45(const ZipEntry& e) {
    return e.zip64 || offset_in_zip64(e);
}

// The run of fields the local and the central header share, from "version needed" to the extra length.
void put_shared_fields(Bytes& b, const ZipEntry& e, uint16_t flags, size_t extra_size) {
    b.u16(needs_version_45(e) ? kVersionNeededZip64 : kVersionNeeded);
    b.u16(flags);
    b.u16(e.method);
    b.u16(e.stamp.time);
    b.u16(e.stamp.date);
    b.u32(e.crc);
    b.u32(classic(e.compressed, e.zip64));
    b.u32(classic(e.uncompressed, e.zip64));
    b.u16(static_cast<uint32_t>(e.name.size()));
    b.u16(static_cast<uint32_t>(extra_size));
}

// The ZIP64 field holds, in this order, only the values whose classic field is the escape value.
std::vector<uint8_t> zip64_field(const ZipEntry& e, bool with_offset) {
    Bytes b;
    if (!e.zip64 && !with_offset) return b.data;
    b.u16(kZip64Tag);
    b.u16((e.zip64 ? 16 : 0) + (with_offset ? 8 : 0));
    if (e.zip64) {
        b.u64(e.uncompressed);
        b.u64(e.compressed);
    }
    if (with_offset) b.u64(e.offset);
    return b.data;
}

std::vector<uint8_t> local_header(const ZipEntry& e, uint16_t flags) {
    const std::vector<uint8_t> zip64 = zip64_field(e, false);
    Bytes b;
    b.u32(kZipLocalSignature);
    put_shared_fields(b, e, flags, zip64.size() + kLocalExtraSize);
    b.text(e.name);
    b.data.insert(b.data.end(), zip64.begin(), zip64.end());
    b.u16(kZipExtendedTimeTag);
    b.u16(13);
    b.data.push_back(7);
    b.u32(e.modified);
    b.u32(e.accessed);
    b.u32(e.created);
    return b.data;
}

std::vector<uint8_t> central_header(const ZipEntry& e) {
    const std::vector<uint8_t> zip64 = zip64_field(e, offset_in_zip64(e));
    Bytes b;
    b.u32(kZipCentralSignature);
    b.u16(needs_version_45(e) ? kVersionMadeByZip64 : kVersionMadeBy);
    put_shared_fields(b, e, e.flags, zip64.size() + kCentralExtraSize);
    b.u16(0);  // comment
    b.u16(0);  // disk
    b.u16(0);  // internal attributes
    b.u32(e.attributes);
    b.u32(classic(e.offset, offset_in_zip64(e)));
    b.text(e.name);
    b.data.insert(b.data.end(), zip64.begin(), zip64.end());
    b.u16(kZipExtendedTimeTag);
    b.u16(5);
    b.data.push_back(7);
    b.u32(e.modified);
    return b.data;
}

// The end of the archive: with more entries, or a central directory larger or further out, than the
// classic record holds, the ZIP64 record and its locator come first and the classic record points
// to them with its escape values.
std::vector<uint8_t> end_records(uint64_t count, uint64_t central_start, uint64_t central_size) {
    const bool zip64 = count >= kZipMaxClassicEntries || central_size >= kMax32 || central_start >= kMax32;
    Bytes b;
    if (zip64) {
        const uint64_t record_start = central_start + central_size;
        b.u32(kZip64EndSignature);
        b.u64(44);  // the record's size after this field
        b.u16(kVersionMadeByZip64);
        b.u16(kVersionNeededZip64);
        b.u32(0);  // this disk
        b.u32(0);  // the disk the central directory starts on
        b.u64(count);
        b.u64(count);
        b.u64(central_size);
        b.u64(central_start);
        b.u32(kZip64LocatorSignature);
        b.u32(0);
        b.u64(record_start);
        b.u32(1);  // disks in all
    }
    b.u32(kZipEndSignature);
    b.u16(0);
    b.u16(0);
    b.u16(static_cast<uint32_t>(std::min(count, kZipMaxClassicEntries)));
    b.u16(static_cast<uint32_t>(std::min(count, kZipMaxClassicEntries)));
    b.u32(static_cast<uint32_t>(std::min(central_size, kMax32)));
    b.u32(static_cast<uint32_t>(std::min(central_start, kMax32)));
    b.u16(0);
    return b.data;
}

}  // namespace

bool zip_fits_classic(bool deflated, uint64_t source_bytes) {
    if (source_bytes >= kMax32) return false;
    if (!deflated) return true;
    const uint64_t worst_case = source_bytes + source_bytes / 256 + 65536;
    return worst_case < kMax32;
}

int zip_finish(int result) {
    g_zip_last_result = result;
    return result;
}

int ZipWriter::copy_data(ZipSourceFile& source, ZipEntry& entry) {
    uint64_t read_total = 0;
    uint64_t out_total = 0;
    uint32_t crc = static_cast<uint32_t>(crc32(0, nullptr, 0));
    const bool deflate_it = entry.method == kZipMethodDeflated;
    if (deflate_it && !ready_deflater()) return kZipWriteFailed;

    auto emit = [&](const uint8_t* data, size_t size) {
        out_total += size;
        if (!entry.zip64 && out_total >= kMax32) return kZipTooLarge;  // past what the margin allows for
        return append(data, size) ? kZipOk : kZipWriteFailed;
    };

    for (;;) {
        if (stop.stop_requested()) return kZipStopped;
        long long n = source.read(in.data(), in.size());
        if (n < 0) return kZipCannotOpen;
        if (source.past_limit()) return kZipPastLimit;  // it grew past the limit while being read
        read_total += static_cast<uint64_t>(n);
        if (!entry.zip64 && !zip_fits_classic(deflate_it, read_total)) return kZipNeedsZip64;  // it grew
        crc = static_cast<uint32_t>(crc32(crc, in.data(), static_cast<uInt>(n)));
        if (on_read && n > 0) on_read(static_cast<uint64_t>(n));
        if (!deflate_it) {
            if (n == 0) break;
            if (int r = emit(in.data(), static_cast<size_t>(n)); r != kZipOk) return r;
            continue;
        }
        z_stream& z = *deflater;
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(n);
        const int flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
        int status;
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            status = deflate(&z, flush);
            if (status == Z_STREAM_ERROR) return kZipWriteFailed;
            if (int r = emit(out.data(), out.size() - z.avail_out); r != kZipOk) return r;
        } while (z.avail_out == 0 && status != Z_STREAM_END);
        if (n == 0) {
            if (status != Z_STREAM_END) return kZipWriteFailed;
            break;
        }
    }
    entry.crc = crc;
    entry.uncompressed = read_total;
    entry.compressed = out_total;
    return kZipOk;
}

namespace {

std::string archive_name(const std::string& entry_name, bool folder) {
    std::string name = entry_name;
    std::replace(name.begin(), name.end(), '\\', '/');
    if (folder && name.back() != '/') name += '/';
    return name;
}

}  // namespace

int ZipWriter::prepare_file(const std::string& entry_name, const std::string& source_path,
                            ZipSourceFile& source, ZipEntry& entry, bool zip64) {
    entry.name = archive_name(entry_name, false);
    if (entry.name.size() > 0xFFFF) return kZipBadArgument;
    if (!source.open(source_path)) return source.not_regular_file() ? kZipNotRegularFile : kZipCannotOpen;
    const ZipSourceFacts& facts = source.facts();
    if (max_source_bytes) {
        if (facts.size > *max_source_bytes) return kZipPastLimit;
        source.limit_reads(*max_source_bytes);
    }
    entry.method = already_compressed(entry.name) ? kZipMethodStored : kZipMethodDeflated;
    entry.zip64 = zip64 || !zip_fits_classic(entry.deflated(), facts.size);
    entry.flags = entry.method == kZipMethodDeflated ? kFlagMaxCompression : 0;
    if (needs_utf8_flag(entry.name)) entry.flags |= kFlagUtf8Name;
    entry.stamp = dos_stamp_utc(facts.modified);  // the file system's UTC time, as the DOS stamp
    entry.modified = unix_seconds(facts.modified);
    entry.accessed = unix_seconds(facts.accessed);
    entry.created = unix_seconds(facts.created);
    entry.attributes = file_attributes(facts, looks_executable(source));
    entry.uncompressed = facts.size;
    entry.compressed = entry.method == kZipMethodStored ? entry.uncompressed : 0;
    return kZipOk;
}

int ZipWriter::prepare_folder(const std::string& entry_name, ZipEntry& entry) {
    entry.name = archive_name(entry_name, true);
    if (entry.name.size() > 0xFFFF) return kZipBadArgument;
    if (needs_utf8_flag(entry.name)) entry.flags |= kFlagUtf8Name;
    const LocalDateTime now = local_now();
    entry.stamp = dos_stamp(now.year, now.month, now.day, now.hour, now.minute, now.second);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch());
    entry.modified = entry.accessed = entry.created = unix_seconds(seconds.count());
    entry.attributes = kFolderAttributes;
    return kZipOk;
}

int ZipWriter::start_entry(ZipEntry& entry) {
    if (broken) return kZipWriteFailed;
    entry.offset = written;
    const std::vector<uint8_t> header = local_header(entry, entry.flags | kFlagDataDescriptor);
    if (!append(header.data(), header.size())) {
        cut_back(entry.offset);
        return kZipWriteFailed;
    }
    return kZipOk;
}

int ZipWriter::end_entry(ZipEntry&& entry) {
    const std::vector<uint8_t> header = local_header(entry, entry.flags);
    if (!file.write_at(entry.offset, header.data(), header.size())) {
        cut_back(entry.offset);
        return kZipWriteFailed;
    }
    entries.push_back(std::move(entry));
    return kZipOk;
}

int ZipWriter::add_file(const std::string& entry_name, const std::string& source_path, bool zip64) {
    ZipEntry entry;
    ZipSourceFile source;
    int result = prepare_file(entry_name, source_path, source, entry, zip64);
    if (result == kZipOk) result = start_entry(entry);
    if (result != kZipOk) return result;
    if (result = copy_data(source, entry); result != kZipOk) {
        cut_back(entry.offset);
        // A file that grew past the classic fields while it was read goes in again, with ZIP64 fields.
        return result == kZipNeedsZip64 ? add_file(entry_name, source_path, true) : result;
    }
    source.close();
    return end_entry(std::move(entry));
}

int ZipWriter::add(const std::string& entry_name, const std::string* source_path) {
    if (broken) return kZipWriteFailed;
    if (stop.stop_requested()) return kZipStopped;
    if (source_path) return add_file(entry_name, *source_path, false);
    ZipEntry entry;
    int result = prepare_folder(entry_name, entry);
    if (result == kZipOk) result = start_entry(entry);
    return result == kZipOk ? end_entry(std::move(entry)) : result;
}

ZipHandle ZipCreate(const std::string& archive_path, std::stop_token stop) {
    auto zip = std::make_unique<ZipWriter>();
    if (archive_path.empty() || !zip->file.create(archive_path)) {
        zip_finish(kZipCannotOpen);
        return nullptr;
    }
    zip->path = archive_path;
    zip->stop = std::move(stop);
    zip_finish(kZipOk);
    return zip.release();
}

int ZipAddFile(ZipHandle zip, const std::string& entry_name, const std::string& source_path) {
    if (!zip || entry_name.empty()) return zip_finish(kZipBadArgument);
    return zip_finish(zip->add(entry_name, &source_path));
}

int ZipAddFolder(ZipHandle zip, const std::string& entry_name) {
    if (!zip || entry_name.empty()) return zip_finish(kZipBadArgument);
    return zip_finish(zip->add(entry_name, nullptr));
}

void ZipDiscard(ZipHandle zip) {
    if (!zip) return;
    std::unique_ptr<ZipWriter> owner(zip);
    zip->file.close();
    std::error_code ec;
    std::filesystem::remove(fs_path(zip->path), ec);
}

int ZipClose(ZipHandle zip) {
    if (!zip) return zip_finish(kZipBadArgument);
    std::unique_ptr<ZipWriter> owner(zip);
    if (zip->broken) {
        zip->file.close();
        return zip_finish(kZipWriteFailed);
    }
    const uint64_t central_start = zip->written;
    bool ok = true;
    for (const ZipEntry& e : zip->entries) {
        std::vector<uint8_t> h = central_header(e);
        ok = ok && zip->append(h.data(), h.size());
    }
    const std::vector<uint8_t> end =
        end_records(zip->entries.size(), central_start, zip->written - central_start);
    ok = ok && zip->append(end.data(), end.size());
    ok = zip->file.close() && ok;
    return zip_finish(ok ? kZipOk : kZipWriteFailed);
}

std::string zip_result_text(int result) {
    switch (result) {
        case kZipOk:
            return load_string(text::kZipOkText);
        case kZipCannotOpen:
            return load_string(text::kZipCannotOpenText);
        case kZipWriteFailed:
            return load_string(text::kZipWriteFailedText);
        case kZipBadArgument:
            return load_string(text::kZipBadArgumentText);
        case kZipTooLarge:
            return load_string(text::kZipTooLargeText);
        case kZipNotCreated:
            return load_string(text::kZipNotCreatedText);
        case kZipPastLimit:
            return load_string(text::kZipPastLimitText);
        case kZipNotRegularFile:
            return load_string(text::kZipNotRegularFileText);
        case kZipStopped:
            return load_string(text::kZipStoppedText);
        default:
            return load_string(text::kZipUnknownText);
    }
}
