#include "report/redacted_copy.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "report/gzip_file.h"
#include "report/redactor.h"
#include "report/text_redaction_sink.h"
#include "report/unique_names.h"
#include "report/zip_reader.h"
#include "report/zip_writer.h"
#include "sys/fs_path.h"
#include "sys/new_file.h"

namespace {

constexpr size_t kReadBlock = 64 * 1024;
constexpr int kDeepestArchive = 3;  // archives inside archives, the file itself counted
// What an archive may unpack to: a generous multiple of its size, so that a small file built to
// unpack without end (archives nested in archives) cannot hold the collection for hours.
constexpr uint64_t kUnpackAllowance = uint64_t{1} << 30;
constexpr uint64_t kUnpackRatio = 100;

enum class Container { kNone, kGzip, kZip };

Container container_of(const std::string& path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    char magic[4] = {};
    in.read(magic, sizeof magic);
    const auto got = in.gcount();
    if (got >= 2 && static_cast<unsigned char>(magic[0]) == 0x1F &&
        static_cast<unsigned char>(magic[1]) == 0x8B)
        return Container::kGzip;
    if (got == 4 && (std::memcmp(magic, "PK\3\4", 4) == 0 || std::memcmp(magic, "PK\5\6", 4) == 0))
        return Container::kZip;
    return Container::kNone;
}

const char* unpack_failure(UnpackResult result, const char* what) {
    return result == UnpackResult::kTooLarge ? "too large once unpacked to redact" : what;
}

void remove_file(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(fs_path(path), ec);
}

void set_modified(const std::string& path, int64_t seconds) {
    std::error_code ec;
    const std::chrono::sys_seconds when{std::chrono::seconds(seconds)};
    std::filesystem::last_write_time(fs_path(path), std::chrono::file_clock::from_sys(when), ec);
}

class FileSink : public ByteSink {
public:
    explicit FileSink(NewFile& file) : file(file) {}
    bool write(std::string_view bytes) override { return file.write(bytes.data(), bytes.size()); }

private:
    NewFile& file;
};

enum class Outcome { kWritten, kLeftOut, kFailed };

// An attempt at redacting a container: done (written or failed), or to be given up for a copy of
// the bytes as they are, for the reason given.
struct Attempt {
    Outcome outcome = Outcome::kFailed;
    std::string give_up;
};

// The redaction of one source file and of everything inside it.
class Copier {
public:
    Copier(Redactor& redactor, bool leave_out, uint64_t unpack_budget)
        : redactor(redactor), leave_out(leave_out), budget(unpack_budget) {}

    // part names the source inside the top one (empty for the top one itself).
    Outcome copy(const std::string& source, const std::string& destination, const std::string& part,
                 int depth);

    std::vector<UnredactedPart> unredacted;

private:
    Outcome copy_text(const std::string& source, const std::string& destination, const std::string& part);
    Attempt copy_gzip(const std::string& source, const std::string& destination);
    Attempt copy_zip(const std::string& source, const std::string& destination, const std::string& part,
                     int depth);
    Attempt add_entry(ZipReader& reader, const ZipReadEntry& entry, ZipHandle zip, const std::string& name,
                      const std::string& destination, const std::string& part, int depth);
    Outcome copy_unchanged(const std::string& source, const std::string& destination, const std::string& part,
                           const std::string& reason);

    Redactor& redactor;
    bool leave_out;
    uint64_t budget;
};

Outcome Copier::copy(const std::string& source, const std::string& destination, const std::string& part,
                     int depth) {
    const Container container = container_of(source);
    if (container == Container::kNone) return copy_text(source, destination, part);
    if (depth >= kDeepestArchive)
        return copy_unchanged(source, destination, part, "archives nested too deep to redact");
    const Attempt attempt = container == Container::kZip ? copy_zip(source, destination, part, depth)
                                                         : copy_gzip(source, destination);
    if (attempt.give_up.empty()) return attempt.outcome;
    return copy_unchanged(source, destination, part, attempt.give_up);
}

Outcome Copier::copy_text(const std::string& source, const std::string& destination,
                          const std::string& part) {
    std::ifstream in(fs_path(source), std::ios::binary);
    NewFile out;
    if (!in || !out.create(destination, false)) return Outcome::kFailed;
    FileSink file(out);
    TextRedactionSink sink(redactor, file);
    std::string block(kReadBlock, '\0');
    bool ok = true;
    while (ok) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const size_t got = static_cast<size_t>(in.gcount());
        ok = !in.bad() && sink.write(std::string_view(block).substr(0, got));
        if (leave_out && sink.encoding() == TextEncoding::kBinary) break;
        if (got < block.size()) break;
    }
    ok = ok && sink.finish();
    ok = out.close() && ok;
    const bool binary = sink.encoding() == TextEncoding::kBinary;
    if (binary) unredacted.push_back({part, kBinaryReason, leave_out});
    if (ok && !(binary && leave_out)) return Outcome::kWritten;
    remove_file(destination);
    return ok ? Outcome::kLeftOut : Outcome::kFailed;
}

Attempt Copier::copy_gzip(const std::string& source, const std::string& destination) {
    NewFile out;
    if (!out.create(destination, false)) return {};
    FileSink file(out);
    GzipSink packed(file);
    TextRedactionSink sink(redactor, packed);
    const UnpackResult unpacked = gunzip_file(source, sink, budget);
    bool ok = unpacked == UnpackResult::kOk && sink.finish() && packed.finish();
    ok = out.close() && ok;
    const bool binary = sink.encoding() == TextEncoding::kBinary;
    if (ok && !binary) return {Outcome::kWritten, {}};
    remove_file(destination);
    if (ok) return {Outcome::kFailed, kBinaryReason};  // the file as it came, not packed anew
    if (unpacked == UnpackResult::kRefused || unpacked == UnpackResult::kOk) return {};  // writing failed
    return {Outcome::kFailed, unpack_failure(unpacked, "gzip data that could not be read")};
}

Attempt Copier::add_entry(ZipReader& reader, const ZipReadEntry& entry, ZipHandle zip,
                          const std::string& name, const std::string& destination, const std::string& part,
                          int depth) {
    if (entry.folder()) return {ZipAddFolder(zip, name) == kZipOk ? Outcome::kWritten : Outcome::kFailed, {}};
    const std::string packed = destination + ".entry", unpacked = destination + ".entry.redacted";
    NewFile raw;
    if (!raw.create(packed, false)) return {};
    FileSink file(raw);
    const UnpackResult extracted = reader.extract(entry, file, budget);
    const bool closed = raw.close();
    Attempt attempt;
    if (extracted == UnpackResult::kOk && closed) {
        attempt.outcome = copy(packed, unpacked, part.empty() ? name : part + "/" + name, depth + 1);
    } else if (extracted != UnpackResult::kRefused && extracted != UnpackResult::kOk) {
        attempt.give_up = unpack_failure(extracted, "a ZIP archive whose entries could not be read");
    }
    remove_file(packed);
    if (attempt.outcome == Outcome::kWritten) {
        set_modified(unpacked, entry.modified);  // the entry keeps its time
        if (ZipAddFile(zip, name, unpacked) != kZipOk) attempt.outcome = Outcome::kFailed;
        remove_file(unpacked);
    }
    return attempt;
}

Attempt Copier::copy_zip(const std::string& source, const std::string& destination, const std::string& part,
                         int depth) {
    ZipReader reader;
    if (!reader.open(source)) return {Outcome::kFailed, "a ZIP archive that could not be read"};
    ZipHandle zip = ZipCreate(destination);
    if (!zip) return {};
    const size_t noted = unredacted.size();
    UniqueNames names;
    Attempt attempt{Outcome::kWritten, {}};
    for (const ZipReadEntry& entry : reader.entries()) {
        const Attempt added =
            add_entry(reader, entry, zip, names.claim(redactor.redact(entry.name)), destination, part, depth);
        if (added.outcome == Outcome::kFailed) {
            attempt = added;
            break;
        }
    }
    const bool closed = ZipClose(zip) == kZipOk;
    if (attempt.outcome == Outcome::kWritten && !closed) attempt.outcome = Outcome::kFailed;
    if (attempt.outcome != Outcome::kWritten) {
        remove_file(destination);
        unredacted.resize(noted);  // the archive goes in unchanged or not at all, not its entries
    }
    return attempt;
}

Outcome Copier::copy_unchanged(const std::string& source, const std::string& destination,
                               const std::string& part, const std::string& reason) {
    unredacted.push_back({part, reason, leave_out});
    if (leave_out) return Outcome::kLeftOut;
    std::ifstream in(fs_path(source), std::ios::binary);
    NewFile out;
    if (!in || !out.create(destination, false)) return Outcome::kFailed;
    std::string block(kReadBlock, '\0');
    bool ok = true;
    while (ok && in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        ok = !in.bad() && out.write(block.data(), static_cast<size_t>(in.gcount()));
    }
    ok = out.close() && ok;
    if (ok) return Outcome::kWritten;
    remove_file(destination);
    return Outcome::kFailed;
}

}  // namespace

RedactedCopy write_redacted_copy(Redactor& redactor, const std::string& source,
                                 const std::string& destination, bool leave_out_unredacted) {
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(fs_path(source), ec);
    Copier copier(redactor, leave_out_unredacted, kUnpackAllowance + kUnpackRatio * (ec ? 0 : size));
    RedactedCopy made;
    made.written = copier.copy(source, destination, "", 0) == Outcome::kWritten;
    made.unredacted = std::move(copier.unredacted);
    return made;
}

bool redact_file_in_place(Redactor& redactor, const std::string& path) {
    const std::string redacted = path + ".redacted";
    remove_file(redacted);  // a leftover of an interrupted run; a link is removed, not followed
    bool ok = write_redacted_copy(redactor, path, redacted, false).written;
    std::error_code ec;
    if (ok) std::filesystem::rename(fs_path(redacted), fs_path(path), ec);
    ok = ok && !ec;
    if (!ok) {
        remove_file(redacted);
        remove_file(path);
    }
    return ok;
}
