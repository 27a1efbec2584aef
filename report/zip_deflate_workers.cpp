#include "report/zip_deflate_workers.h"

#include <algorithm>
#include <system_error>

#include "report/zip_writer_state.h"

namespace {

constexpr size_t kWindow = 32768;
constexpr size_t kFlushReserve = 64;  // room for the flush marker and the final block's end

}  // namespace

ZipChunkDeflater::~ZipChunkDeflater() {
    if (stream) deflateEnd(stream.get());
}

bool ZipChunkDeflater::deflate_into(ZipChunk& chunk) {
    if (!zip_ready_deflater(stream)) return false;
    z_stream& z = *stream;
    if (!chunk.dictionary.empty()) {
        const size_t tail = std::min(chunk.dictionary.size(), kWindow);
        if (deflateSetDictionary(&z, chunk.dictionary.data() + chunk.dictionary.size() - tail,
                                 static_cast<uInt>(tail)) != Z_OK)
            return false;
    }
    z.next_in = chunk.input.data();
    z.avail_in = static_cast<uInt>(chunk.input.size());
    // Most log text shrinks to a fifth or less; the full bound is taken only when that does not do.
    std::vector<uint8_t>& out = chunk.output;
    out.resize(chunk.input.size() / 4 + kFlushReserve);
    size_t produced = 0;
    const int flush = chunk.last ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(out.size() - produced);
        const int status = deflate(&z, flush);
        produced = out.size() - z.avail_out;
        if (status == Z_STREAM_ERROR) return false;
        if (chunk.last ? status == Z_STREAM_END : z.avail_out != 0) break;
        if (z.avail_out != 0) return false;  // no progress although there was room
        out.resize(std::max(
            out.size() * 2,
            static_cast<size_t>(deflateBound(&z, static_cast<uLong>(chunk.input.size()))) + kFlushReserve));
    }
    out.resize(produced);
    return true;
}

void ZipChunkDeflater::process(ZipChunk& chunk) {
    chunk.length = chunk.input.size();
    chunk.crc = static_cast<uint32_t>(crc32(0, chunk.input.data(), static_cast<uInt>(chunk.input.size())));
    if (chunk.deflate) {
        chunk.ok = deflate_into(chunk);
        chunk.input = {};
    } else {
        chunk.output = std::move(chunk.input);
        chunk.ok = true;
    }
    chunk.dictionary = {};
}

ZipDeflateWorkers::ZipDeflateWorkers(int count) {
    for (int i = 0; i < count; ++i) {
        try {
            threads.emplace_back([this] { run(); });
        } catch (const std::system_error&) {
            break;  // fewer threads, or none: submit then does the work itself
        }
    }
}

ZipDeflateWorkers::~ZipDeflateWorkers() {
    {
        std::lock_guard<std::mutex> hold(lock);
        stopping = true;
        queue.clear();
    }
    work_ready.notify_all();
    for (std::thread& t : threads) t.join();
}

void ZipDeflateWorkers::submit(const std::shared_ptr<ZipChunk>& chunk) {
    if (threads.empty()) {
        own_deflater.process(*chunk);
        chunk->done = true;
        return;
    }
    {
        std::lock_guard<std::mutex> hold(lock);
        queue.push_back(chunk);
    }
    work_ready.notify_one();
}

void ZipDeflateWorkers::wait(const std::shared_ptr<ZipChunk>& chunk) {
    std::unique_lock<std::mutex> hold(lock);
    work_done.wait(hold, [&] { return chunk->done; });
}

void ZipDeflateWorkers::run() {
    ZipChunkDeflater deflater;
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
        work_ready.wait(hold, [this] { return stopping || !queue.empty(); });
        if (stopping) return;
        std::shared_ptr<ZipChunk> chunk = std::move(queue.front());
        queue.pop_front();
        hold.unlock();
        deflater.process(*chunk);
        hold.lock();
        chunk->done = true;
        work_done.notify_all();
    }
}
