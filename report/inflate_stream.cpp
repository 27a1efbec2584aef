#include "report/inflate_stream.h"

namespace {

constexpr size_t kOutPiece = 64 * 1024;

}  // namespace

Inflater::Inflater(bool gzip) : out(kOutPiece, '\0') {
    usable = inflateInit2(&z, gzip ? 15 + 16 : -15) == Z_OK;
}

Inflater::~Inflater() {
    if (usable) inflateEnd(&z);
}

bool Inflater::restart() {
    return usable && inflateReset(&z) == Z_OK;
}

UnpackResult Inflater::feed(std::string_view& input, ByteSink& sink, uint64_t& budget, bool& ended) {
    ended = false;
    if (!usable) return UnpackResult::kBroken;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    z.avail_in = static_cast<uInt>(input.size());
    int status = Z_OK;
    do {
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        status = inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) return UnpackResult::kBroken;
        const size_t made = out.size() - z.avail_out;
        if (made > budget) return UnpackResult::kTooLarge;
        budget -= made;
        if (made > 0 && !sink.write(std::string_view(out).substr(0, made))) return UnpackResult::kRefused;
        if (status == Z_BUF_ERROR && made == 0) break;  // nothing more to do with this input
    } while (status != Z_STREAM_END && (z.avail_in > 0 || z.avail_out == 0));
    input.remove_prefix(input.size() - z.avail_in);
    ended = status == Z_STREAM_END;
    return UnpackResult::kOk;
}
