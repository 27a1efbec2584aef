#include "report/zip_parallel_pack.h"

#include <algorithm>
#include <deque>
#include <memory>

#include "report/zip_deflate_workers.h"
#include "report/zip_temp_copy.h"
#include "report/zip_writer_state.h"

namespace {

constexpr size_t kDictionaryBytes = 32768;
constexpr size_t kMaxChunkBytes = size_t{4} << 20;
// Source bytes read but not yet written: together with the pieces being read and the deflate states,
// this keeps the packing well under 64 MB whatever the sources are.
constexpr size_t kInFlightBytes = size_t{16} << 20;

// One thing for the writing side, in archive order.
struct Step {
    enum class Kind { folder, file_start, chunk, file_end };
    Kind kind = Kind::folder;
    ZipEntry entry;  // folder: its name only; file_start: the prepared entry
    std::shared_ptr<ZipChunk> chunk;
    std::string path;      // file_end: the listed source, for the failure list
    int result = kZipOk;   // file_end: what opening and reading the source found
    bool started = false;  // file_end: a file_start came before
    bool report = true;    // file_end: false when a try through a copy follows
};

class ParallelPacker {
public:
    ParallelPacker(ZipWriter& zip, int workers, size_t chunk_bytes, ZipPackProgress& progress,
                   std::vector<ZipFileFailure>* failures)
        : zip(zip),
          workers(workers),
          chunk_bytes(std::clamp<size_t>(chunk_bytes, 1, kMaxChunkBytes)),
          max_chunks_in_flight(
              std::clamp<size_t>(kInFlightBytes / this->chunk_bytes, 2, std::max(2, 2 * workers))),
          progress(progress),
          failures(failures) {}

    ~ParallelPacker() {
        // After a stop the archive is thrown away: what is queued need not be written.
        if (zip.stop.stop_requested()) steps.clear();
        while (!steps.empty()) write_front();
    }

    void folder(const std::string& entry_name) {
        Step step;
        step.entry.name = entry_name;
        push(std::move(step));
    }

    // Reads the source into pieces for the workers. Returns what opening and reading found; a
    // kZipCannotOpen is left out of the failures when copy_follows. With zip64 the local header takes
    // ZIP64 fields whatever the size.
    int file(const std::string& entry_name, const std::string& listed_path, const std::string& source_path,
             bool copy_follows, bool zip64 = false);

    // A file that did not even get a temporary copy.
    void fail(const std::string& listed_path, int result) {
        Step end;
        end.kind = Step::Kind::file_end;
        end.path = listed_path;
        end.result = result;
        push(std::move(end));
    }

private:
    void push(Step step);
    void write_front();
    void write_chunk(const ZipChunk& chunk);
    void end_file(const Step& step);
    // expected: the bytes the source should still hold, by its size when it was opened.
    int read_piece(ZipSourceFile& source, std::vector<uint8_t>& piece, uint64_t expected) const;

    ZipWriter& zip;
    ZipDeflateWorkers workers;
    const size_t chunk_bytes;
    const size_t max_chunks_in_flight;
    ZipPackProgress& progress;
    std::vector<ZipFileFailure>* failures;
    std::deque<Step> steps;
    size_t chunks_in_flight = 0;

    // The entry being written.
    ZipEntry current;
    bool entry_open = false;  // its local header is out and it is neither ended nor cut off
    int entry_result = kZipOk;
    uint64_t in_total = 0;
    uint64_t out_total = 0;
    uint32_t crc = 0;
};

// Fills the piece up to the chunk size; shorter only at the end of the source.
int ParallelPacker::read_piece(ZipSourceFile& source, std::vector<uint8_t>& piece, uint64_t expected) const {
    if (zip.stop.stop_requested()) return kZipStopped;
    // Room for what the file should hold and a byte more, which tells whether it grew: a small log
    // does not pay for a whole piece's buffer (seventy thousand of them would for gigabytes).
    piece.resize(static_cast<size_t>(std::min<uint64_t>(chunk_bytes, expected + 1)));
    size_t filled = 0;
    while (filled < chunk_bytes) {
        if (filled == piece.size()) piece.resize(std::min(chunk_bytes, piece.size() * 2));
        const long long n = source.read(piece.data() + filled, piece.size() - filled);
        if (n < 0) return kZipCannotOpen;
        if (n == 0) break;
        filled += static_cast<size_t>(n);
    }
    piece.resize(filled);
    return source.past_limit() ? kZipPastLimit : kZipOk;
}

int ParallelPacker::file(const std::string& entry_name, const std::string& listed_path,
                         const std::string& source_path, bool copy_follows, bool zip64) {
    Step end;
    end.kind = Step::Kind::file_end;
    end.path = listed_path;
    ZipSourceFile source;
    Step start;
    start.kind = Step::Kind::file_start;
    int result = zip.prepare_file(entry_name, source_path, source, start.entry, zip64);
    if (result == kZipOk) {
        end.started = true;
        const bool deflate = start.entry.deflated();
        const bool classic = !start.entry.zip64;
        push(std::move(start));
        // One piece is read ahead, so that the last piece is known when it is handed out: it alone
        // ends the stream, and it ends wherever the file ends now, even if it grew or shrank.
        std::vector<uint8_t> piece, next, dictionary;
        uint64_t total = 0;
        const uint64_t size = source.facts().size;
        const auto left_after = [size](uint64_t read) { return read < size ? size - read : 0; };
        result = read_piece(source, piece, size);
        while (result == kZipOk) {
            if (result = read_piece(source, next, left_after(total + piece.size())); result != kZipOk) break;
            total += piece.size();
            if (classic && !zip_fits_classic(deflate, total)) {
                result = kZipNeedsZip64;  // it grew since it was opened
                break;
            }
            auto chunk = std::make_shared<ZipChunk>();
            chunk->deflate = deflate;
            chunk->last = next.empty();
            chunk->dictionary = std::move(dictionary);
            if (deflate)
                dictionary.assign(
                    piece.end() - static_cast<std::ptrdiff_t>(std::min(piece.size(), kDictionaryBytes)),
                    piece.end());
            chunk->input = std::move(piece);
            const bool last = chunk->last;
            workers.submit(chunk);
            Step step;
            step.kind = Step::Kind::chunk;
            step.chunk = std::move(chunk);
            push(std::move(step));
            if (last) break;
            piece = std::move(next);
            next = {};
        }
        source.close();
    }
    end.result = result;
    end.report = !(copy_follows && result == kZipCannotOpen) && result != kZipNeedsZip64;
    push(std::move(end));
    if (result == kZipNeedsZip64) return file(entry_name, listed_path, source_path, copy_follows, true);
    return result;
}

void ParallelPacker::push(Step step) {
    if (step.kind == Step::Kind::chunk) ++chunks_in_flight;
    steps.push_back(std::move(step));
    // Headers and ends go out as soon as the pieces before them have; pieces wait only while the
    // number in flight allows.
    while (!steps.empty() &&
           (steps.front().kind != Step::Kind::chunk || chunks_in_flight > max_chunks_in_flight))
        write_front();
}

void ParallelPacker::write_front() {
    Step step = std::move(steps.front());
    steps.pop_front();
    switch (step.kind) {
        case Step::Kind::folder:
            zip.add(step.entry.name, nullptr);  // a failed folder entry loses nothing else
            break;
        case Step::Kind::file_start:
            current = std::move(step.entry);
            entry_result = zip.start_entry(current);
            entry_open = entry_result == kZipOk;
            in_total = out_total = 0;
            crc = static_cast<uint32_t>(crc32(0, nullptr, 0));
            break;
        case Step::Kind::chunk:
            --chunks_in_flight;
            workers.wait(step.chunk);
            write_chunk(*step.chunk);
            break;
        case Step::Kind::file_end:
            end_file(step);
            break;
    }
}

void ParallelPacker::write_chunk(const ZipChunk& chunk) {
    progress.add(chunk.length);
    if (!entry_open || entry_result != kZipOk) return;
    if (!chunk.ok) {
        entry_result = kZipWriteFailed;
        return;
    }
    out_total += chunk.output.size();
    if (!current.zip64 && out_total >= kZipMax32) {  // past what the margin allows for
        entry_result = kZipTooLarge;
        return;
    }
    if (!zip.append(chunk.output.data(), chunk.output.size())) {
        entry_result = kZipWriteFailed;
        return;
    }
    crc = static_cast<uint32_t>(crc32_combine(crc, chunk.crc, static_cast<z_off_t>(chunk.length)));
    in_total += chunk.length;
}

void ParallelPacker::end_file(const Step& step) {
    int result = step.result;
    if (step.started) {
        if (result == kZipOk) result = entry_result;
        if (result == kZipOk) {
            current.crc = crc;
            current.uncompressed = in_total;
            current.compressed = out_total;
            result = zip.end_entry(std::move(current));
        } else if (entry_open) {
            zip.cut_back(current.offset);
        }
        entry_open = false;
    }
    if (result != kZipOk && step.report && failures) failures->push_back({step.path, result});
}

}  // namespace

void zip_pack_in_parallel(ZipWriter& zip, const std::vector<ZipListItem>& items, int workers,
                          size_t chunk_bytes, const std::string& archive_path, ZipPackProgress& progress,
                          std::vector<ZipFileFailure>* failures) {
    ParallelPacker packer(zip, workers, chunk_bytes, progress, failures);
    for (const ZipListItem& item : items) {
        if (zip.stop.stop_requested()) return;
        if (item.folder()) {
            packer.folder(item.entry_name);
            continue;
        }
        if (packer.file(item.entry_name, item.path, item.path, true) != kZipCannotOpen) continue;
        // Held by its writer: the copy is read completely before it goes again.
        const ZipTempCopy copy(item.path, archive_path);
        if (copy.made())
            packer.file(item.entry_name, item.path, copy.path(), false);
        else
            packer.fail(item.path, kZipCannotOpen);
    }
}
