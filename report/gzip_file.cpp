#include "report/gzip_file.h"

#include "report/zip_file_io.h"

namespace {

constexpr size_t kPiece = 64 * 1024;
constexpr int kLevel = 8;

}  // namespace

UnpackResult gunzip_file(ZipSourceFile& in, ByteSink& sink, uint64_t& budget) {
    Inflater inflater(true);
    std::string block(kPiece, '\0');
    bool in_member = true, after_last = false;
    for (;;) {
        const long long read = in.read(block.data(), block.size());
        if (read < 0) return UnpackResult::kBroken;
        const size_t got = static_cast<size_t>(read);
        if (got == 0) break;
        std::string_view input(block.data(), got);
        while (!input.empty()) {
            if (after_last) {
                if (input.find_first_not_of('\0') != std::string_view::npos) return UnpackResult::kBroken;
                break;
            }
            if (!in_member) {
                // Another member follows when its magic does; anything else ends the file.
                if (static_cast<unsigned char>(input[0]) != 0x1F) {
                    after_last = true;
                    continue;
                }
                if (!inflater.restart()) return UnpackResult::kBroken;
                in_member = true;
            }
            bool ended = false;
            const UnpackResult fed = inflater.feed(input, sink, budget, ended);
            if (fed != UnpackResult::kOk) return fed;
            if (ended) in_member = false;
        }
    }
    return in_member ? UnpackResult::kBroken : UnpackResult::kOk;
}

GzipSink::GzipSink(ByteSink& out) : out(out), buffer(kPiece, '\0') {
    usable = deflateInit2(&z, kLevel, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) == Z_OK;
}

GzipSink::~GzipSink() {
    if (usable) deflateEnd(&z);
}

bool GzipSink::pump(int flush) {
    int status = Z_OK;
    do {
        z.next_out = reinterpret_cast<Bytef*>(buffer.data());
        z.avail_out = static_cast<uInt>(buffer.size());
        status = deflate(&z, flush);
        if (status == Z_STREAM_ERROR) return false;
        const size_t made = buffer.size() - z.avail_out;
        if (made > 0 && !out.write(std::string_view(buffer).substr(0, made))) return false;
    } while (z.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    return true;
}

bool GzipSink::write(std::string_view bytes) {
    if (!usable) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    return pump(Z_NO_FLUSH);
}

bool GzipSink::finish() {
    return usable && pump(Z_FINISH);
}
