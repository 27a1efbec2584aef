#pragma once

#include <zlib.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// One piece of a source file on its way into the archive. A piece is deflated as a stream of its own,
// primed with the 32 KiB before it as dictionary; every piece but a file's last ends on a byte boundary
// (a sync flush: an empty stored block), the last one ends the stream, so the pieces of a file put one
// after the other are a single valid deflate stream.
struct ZipChunk {
    std::vector<uint8_t> input;       // freed once deflated
    std::vector<uint8_t> dictionary;  // the end of the previous piece of the same file
    bool deflate = true;              // false: stored as it is
    bool last = false;

    std::vector<uint8_t> output;
    uint32_t crc = 0;  // of the input alone; combined per file by the writer
    uint64_t length = 0;
    bool ok = false;
    bool done = false;  // set by the workers, under their lock
};

// The level-8 raw deflate state one thread uses for piece after piece.
class ZipChunkDeflater {
public:
    ZipChunkDeflater() = default;
    ~ZipChunkDeflater();
    ZipChunkDeflater(const ZipChunkDeflater&) = delete;
    ZipChunkDeflater& operator=(const ZipChunkDeflater&) = delete;

    // Fills the chunk's output, CRC and length and sets ok.
    void process(ZipChunk& chunk);

private:
    bool deflate_into(ZipChunk& chunk);
    std::unique_ptr<z_stream> stream;
};

// Threads that deflate pieces in the order given. Destruction waits for every thread; pieces not yet
// taken are left undone.
class ZipDeflateWorkers {
public:
    // Starts up to count threads; with none (the system refused) pieces are deflated by submit itself.
    explicit ZipDeflateWorkers(int count);
    ~ZipDeflateWorkers();
    ZipDeflateWorkers(const ZipDeflateWorkers&) = delete;
    ZipDeflateWorkers& operator=(const ZipDeflateWorkers&) = delete;

    void submit(const std::shared_ptr<ZipChunk>& chunk);
    // Returns once the chunk has been processed.
    void wait(const std::shared_ptr<ZipChunk>& chunk);

private:
    void run();

    std::mutex lock;
    std::condition_variable work_ready;
    std::condition_variable work_done;
    std::deque<std::shared_ptr<ZipChunk>> queue;
    bool stopping = false;
    std::vector<std::thread> threads;
    ZipChunkDeflater own_deflater;  // for submit when no thread could be started
};
