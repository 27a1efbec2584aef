#include "report/redacted_copy.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "report/gzip_file.h"
#include "report/redactor.h"
#include "report/text_redaction_sink.h"
#include "report/unique_names.h"
#include "report/zip_file_io.h"
#include "report/zip_reader.h"
#include "report/zip_writer.h"
#include "res/report_texts.h"
#include "res/string_table.h"
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

Container container_of(ZipSourceFile& in) {
    char magic[4] = {};
    const long long got = in.read_at(0, magic, sizeof magic);
    if (got >= 2 && static_cast<unsigned char>(magic[0]) == 0x1F && static_cast<unsigned char>(magic[1]) == 0x8B)
        return Container::kGzip;
    if (got == 4 && (std::memcmp(magic, "PK\3\4", 4) == 0 || std::memcmp(magic, "PK\5\6", 4) == 0))
        return Container::kZip;
    return Container::kNone;
}

// what: the text id of the failure when the data was not too large.
std::string unpack_failure(UnpackResult result, int what) {
    return load_string(result == UnpackResult::kTooLarge ? text::kTooLargeUnpacked : what);
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

// Where every copy's bytes go; a stop request refuses them, which ends the copy as a failed one.
class FileSink : public ByteSink {
public:
    FileSink(NewFile& file, const std::stop_token& stop) : file(file), stop(stop) {}
    bool write(std::string_view bytes) override {
        return !stop.stop_requested() && file.write(bytes.data(), bytes.size());
    }

private:
    NewFile& file;
    const std::stop_token& stop;
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
    Copier(Redactor& redactor, bool leave_out, uint64_t unpack_budget, std::optional<uint64_t> max_source_bytes,
           std::stop_token stop)
        : redactor(redactor),
          leave_out(leave_out),
          budget(unpack_budget),
          max_source_bytes(max_source_bytes),
          stop(std::move(stop)) {}

    // part names the source inside the top one (empty for the top one itself).
    Outcome copy(const std::string& source, const std::string& destination, const std::string& part,
                 int depth);

    std::vector<UnredactedPart> unredacted;
    int source_refused = kZipOk;  // of the top source

private:
    // Opens a source for reading; the top one within its size limit.
    bool open_source(ZipSourceFile& in, const std::string& source, int depth);
    // True when the source grew past its limit while it was read: what was written then goes.
    bool overran(const ZipSourceFile& in, const std::string& destination);
    Outcome copy_text(ZipSourceFile& in, const std::string& destination, const std::string& part);
    Attempt copy_gzip(ZipSourceFile& in, const std::string& destination);
    Attempt copy_zip(ZipSourceFile& in, const std::string& destination, const std::string& part, int depth);
    Attempt add_entry(ZipReader& reader, const ZipReadEntry& entry, ZipHandle zip, const std::string& name,
                      const std::string& destination, const std::string& part, int depth);
    Outcome copy_unchanged(const std::string& source, const std::string& destination, const std::string& part,
                           const std::string& reason, int depth);

    Redactor& redactor;
    bool leave_out;
    uint64_t budget;
    std::optional<uint64_t> max_source_bytes;
    std::stop_token stop;
};

bool Copier::open_source(ZipSourceFile& in, const std::string& source, int depth) {
    const bool top = depth == 0;
    if (!in.open(source, true)) {
        if (top) source_refused = in.not_regular_file() ? kZipNotRegularFile : kZipCannotOpen;
        return false;
    }
    if (!top || !max_source_bytes) return true;
    if (in.facts().size > *max_source_bytes) {
        source_refused = kZipPastLimit;
        return false;
    }
    in.limit_reads(*max_source_bytes);
    return true;
}

bool Copier::overran(const ZipSourceFile& in, const std::string& destination) {
    if (!in.past_limit()) return false;
    source_refused = kZipPastLimit;
    remove_file(destination);
    return true;
}

Outcome Copier::copy(const std::string& source, const std::string& destination, const std::string& part,
                     int depth) {
    ZipSourceFile in;
    if (!open_source(in, source, depth)) return Outcome::kFailed;
    const Container container = container_of(in);
    if (container == Container::kNone) {
        const Outcome outcome = copy_text(in, destination, part);
        return overran(in, destination) ? Outcome::kFailed : outcome;
    }
    if (depth >= kDeepestArchive)
        return copy_unchanged(source, destination, part, load_string(text::kNestedTooDeep), depth);
    const Attempt attempt =
        container == Container::kZip ? copy_zip(in, destination, part, depth) : copy_gzip(in, destination);
    if (overran(in, destination)) return Outcome::kFailed;
    if (attempt.give_up.empty()) return attempt.outcome;
    return copy_unchanged(source, destination, part, attempt.give_up, depth);
}

Outcome Copier::copy_text(ZipSourceFile& in, const std::string& destination, const std::string& part) {
    NewFile out;
    if (!out.create(destination, false)) return Outcome::kFailed;
    FileSink file(out, stop);
    TextRedactionSink sink(redactor, file);
    std::string block(kReadBlock, '\0');
    bool ok = true;
    while (ok) {
        const long long got = in.read(block.data(), block.size());
        ok = got >= 0 && sink.write(std::string_view(block).substr(0, static_cast<size_t>(std::max(got, 0LL))));
        if (leave_out && sink.encoding() == TextEncoding::kBinary) break;
        if (got <= 0) break;
    }
    ok = ok && sink.finish();
    ok = out.close() && ok;
    const bool binary = sink.encoding() == TextEncoding::kBinary;
    if (binary) unredacted.push_back({part, kBinaryReason, leave_out});
    if (ok && !(binary && leave_out)) return Outcome::kWritten;
    remove_file(destination);
    return ok ? Outcome::kLeftOut : Outcome::kFailed;
}

Attempt Copier::copy_gzip(ZipSourceFile& in, const std::string& destination) {
    NewFile out;
    if (!out.create(destination, false)) return {};
    FileSink file(out, stop);
    GzipSink packed(file);
    TextRedactionSink sink(redactor, packed);
    const UnpackResult unpacked = gunzip_file(in, sink, budget);
    bool ok = unpacked == UnpackResult::kOk && sink.finish() && packed.finish();
    ok = out.close() && ok;
    const bool binary = sink.encoding() == TextEncoding::kBinary;
    if (ok && !binary) return {Outcome::kWritten, {}};
    remove_file(destination);
    if (ok) return {Outcome::kFailed, kBinaryReason};  // the file as it came, not packed anew
    if (unpacked == UnpackResult::kRefused || unpacked == UnpackResult::kOk) return {};  // writing failed
    return {Outcome::kFailed, unpack_failure(unpacked, text::kGzipUnreadable)};
}

Attempt Copier::add_entry(ZipReader& reader, const ZipReadEntry& entry, ZipHandle zip,
                          const std::string& name, const std::string& destination, const std::string& part,
                          int depth) {
    if (entry.folder()) return {ZipAddFolder(zip, name) == kZipOk ? Outcome::kWritten : Outcome::kFailed, {}};
    const std::string packed = destination + ".entry", unpacked = destination + ".entry.redacted";
    NewFile raw;
    if (!raw.create(packed, false)) return {};
    FileSink file(raw, stop);
    const UnpackResult extracted = reader.extract(entry, file, budget);
    const bool closed = raw.close();
    Attempt attempt;
    if (extracted == UnpackResult::kOk && closed) {
        attempt.outcome = copy(packed, unpacked, part.empty() ? name : part + "/" + name, depth + 1);
    } else if (extracted != UnpackResult::kRefused && extracted != UnpackResult::kOk) {
        attempt.give_up = unpack_failure(extracted, text::kZipEntriesUnreadable);
    }
    remove_file(packed);
    if (attempt.outcome == Outcome::kWritten) {
        set_modified(unpacked, entry.modified);  // the entry keeps its time
        if (ZipAddFile(zip, name, unpacked) != kZipOk) attempt.outcome = Outcome::kFailed;
        remove_file(unpacked);
    }
    return attempt;
}

Attempt Copier::copy_zip(ZipSourceFile& in, const std::string& destination, const std::string& part,
                         int depth) {
    ZipReader reader;
    if (!reader.open(in)) return {Outcome::kFailed, load_string(text::kZipUnreadable)};
    ZipHandle zip = ZipCreate(destination, stop);
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
                               const std::string& part, const std::string& reason, int depth) {
    unredacted.push_back({part, reason, leave_out});
    if (leave_out) return Outcome::kLeftOut;
    ZipSourceFile in;
    NewFile out;
    if (!open_source(in, source, depth) || !out.create(destination, false)) return Outcome::kFailed;
    std::string block(kReadBlock, '\0');
    bool ok = true;
    FileSink file(out, stop);
    for (long long got = 1; ok && got > 0;) {
        got = in.read(block.data(), block.size());
        ok = got >= 0 && file.write(std::string_view(block).substr(0, static_cast<size_t>(std::max(got, 0LL))));
    }
    ok = out.close() && ok;
    if (overran(in, destination)) return Outcome::kFailed;
    if (ok) return Outcome::kWritten;
    remove_file(destination);
    return Outcome::kFailed;
}

}  // namespace

RedactedCopy write_redacted_copy(Redactor& redactor, const std::string& source,
                                 const std::string& destination, bool leave_out_unredacted,
                                 std::optional<uint64_t> max_source_bytes, std::stop_token stop) {
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(fs_path(source), ec);
    Copier copier(redactor, leave_out_unredacted, kUnpackAllowance + kUnpackRatio * (ec ? 0 : size),
                  max_source_bytes, std::move(stop));
    RedactedCopy made;
    made.written = copier.copy(source, destination, "", 0) == Outcome::kWritten;
    made.unredacted = std::move(copier.unredacted);
    made.source_refused = copier.source_refused;
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
