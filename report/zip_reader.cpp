#include "report/zip_reader.h"

#include <zlib.h>

#include <algorithm>

#include "report/zip_file_io.h"
#include "report/zip_format.h"

namespace {

constexpr size_t kEndRecordSize = 22;
constexpr size_t kLongestComment = 0xFFFF;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr size_t kPiece = 64 * 1024;

uint32_t u16(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1]))
                                                   << 8;
}
uint32_t u32(const std::string& b, size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
int64_t days_from_civil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

int64_t dos_seconds(uint32_t time, uint32_t date) {
    const unsigned month = std::clamp<unsigned>(date >> 5 & 0xF, 1, 12),
                   day = std::max<unsigned>(date & 0x1F, 1);
    return days_from_civil(1980 + (date >> 9), month, day) * 86400 + (time >> 11) * 3600 +
           (time >> 5 & 0x3F) * 60 + (time & 0x1F) * 2;
}

// The modification time of the extended-time field, when the central extra holds one.
bool extended_time(const std::string& extra, int64_t& seconds) {
    for (size_t at = 0; at + 4 <= extra.size();) {
        const uint32_t tag = u16(extra, at), size = u16(extra, at + 2);
        if (at + 4 + size > extra.size()) return false;
        if (tag == kZipExtendedTimeTag && size >= 5 && (extra[at + 4] & 1)) {
            seconds = static_cast<int32_t>(u32(extra, at + 5));
            return true;
        }
        at += 4 + size;
    }
    return false;
}

// Passes bytes on while checking them against the entry's length and checksum.
class CheckingSink : public ByteSink {
public:
    explicit CheckingSink(ByteSink& out) : out(out) {}
    bool write(std::string_view bytes) override {
        crc = static_cast<uint32_t>(
            crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
        length += bytes.size();
        return out.write(bytes);
    }
    bool matches(const ZipReadEntry& entry) const { return crc == entry.crc && length == entry.size; }

private:
    ByteSink& out;
    uint32_t crc = static_cast<uint32_t>(crc32(0, nullptr, 0));
    uint64_t length = 0;
};

// Stored data: the bytes as they are, from the same budget as inflated ones.
class StoredCopy {
public:
    UnpackResult feed(std::string_view& input, ByteSink& sink, uint64_t& budget) {
        if (input.size() > budget) return UnpackResult::kTooLarge;
        budget -= input.size();
        const bool taken = sink.write(input);
        input = {};
        return taken ? UnpackResult::kOk : UnpackResult::kRefused;
    }
};

}  // namespace

bool ZipReader::read_at(uint64_t offset, std::string& bytes, size_t size) {
    if (offset > file_size || file_size - offset < size) return false;
    bytes.resize(size);
    for (size_t done = 0; done < size;) {
        const long long n = file->read_at(offset + done, bytes.data() + done, size - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ZipReader::open(ZipSourceFile& source) {
    listed.clear();
    file = &source;
    file_size = source.facts().size;  // nothing past what it held when opened is read
    if (file_size < kEndRecordSize) return false;
    const size_t tail_size =
        static_cast<size_t>(std::min<uint64_t>(file_size, kEndRecordSize + kLongestComment));
    std::string tail;
    if (!read_at(file_size - tail_size, tail, tail_size)) return false;
    size_t end = std::string::npos;
    for (size_t at = tail_size - kEndRecordSize + 1; at-- > 0;)
        if (u32(tail, at) == kZipEndSignature) {
            end = at;
            break;
        }
    if (end == std::string::npos) return false;
    const uint32_t disk = u16(tail, end + 4), central_disk = u16(tail, end + 6);
    const uint32_t count = u16(tail, end + 10), central_size = u32(tail, end + 12),
                   central_offset = u32(tail, end + 16);
    // Split archives and ZIP64 (whose fields here are all ones) are not read.
    if (disk != 0 || central_disk != 0 || count == 0xFFFF || central_offset == 0xFFFFFFFF) return false;
    std::string central;
    if (!read_at(central_offset, central, central_size)) return false;
    for (size_t at = 0, n = 0; n < count; ++n) {
        if (at + kCentralHeaderSize > central.size() || u32(central, at) != kZipCentralSignature) return false;
        const size_t name_size = u16(central, at + 28), extra_size = u16(central, at + 30),
                     comment_size = u16(central, at + 32);
        if (at + kCentralHeaderSize + name_size + extra_size + comment_size > central.size()) return false;
        ZipReadEntry e;
        e.flags = static_cast<uint16_t>(u16(central, at + 8));
        e.method = static_cast<uint16_t>(u16(central, at + 10));
        e.crc = u32(central, at + 16);
        e.compressed = u32(central, at + 20);
        e.size = u32(central, at + 24);
        e.header_offset = u32(central, at + 42);
        e.name = central.substr(at + kCentralHeaderSize, name_size);
        if (!extended_time(central.substr(at + kCentralHeaderSize + name_size, extra_size), e.modified))
            e.modified = dos_seconds(u16(central, at + 12), u16(central, at + 14));
        listed.push_back(std::move(e));
        at += kCentralHeaderSize + name_size + extra_size + comment_size;
    }
    return true;
}

UnpackResult ZipReader::extract(const ZipReadEntry& entry, ByteSink& sink, uint64_t& budget) {
    if (entry.flags & kFlagEncrypted) return UnpackResult::kBroken;
    if (entry.method != kZipMethodStored && entry.method != kZipMethodDeflated) return UnpackResult::kBroken;
    std::string local;
    if (!read_at(entry.header_offset, local, kLocalHeaderSize) || u32(local, 0) != kZipLocalSignature)
        return UnpackResult::kBroken;
    uint64_t offset = entry.header_offset + kLocalHeaderSize + u16(local, 26) + u16(local, 28);
    if (offset > file_size || file_size - offset < entry.compressed) return UnpackResult::kBroken;
    CheckingSink checked(sink);
    Inflater inflater(false);
    StoredCopy stored;
    bool ended = entry.method == kZipMethodStored;
    std::string piece;
    for (uint64_t left = entry.compressed; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kPiece));
        if (!read_at(offset, piece, n)) return UnpackResult::kBroken;
        offset += n;
        left -= n;
        std::string_view input(piece);
        const UnpackResult fed = entry.method == kZipMethodStored ? stored.feed(input, checked, budget)
                                                               : inflater.feed(input, checked, budget, ended);
        if (fed != UnpackResult::kOk) return fed;
        if (ended) break;
    }
    return ended && checked.matches(entry) ? UnpackResult::kOk : UnpackResult::kBroken;
}
