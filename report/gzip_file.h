#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

#include "report/byte_sink.h"
#include "report/inflate_stream.h"

class ZipSourceFile;

// Unpacks an open gzip file, from where it stands, into sink: every member, as concatenated files
// have them; zero bytes after the last member are ignored, as gzip itself does.
UnpackResult gunzip_file(ZipSourceFile& in, ByteSink& sink, uint64_t& budget);

// Packs what is written to it in gzip's format into out. The header names no file and no time.
class GzipSink : public ByteSink {
public:
    explicit GzipSink(ByteSink& out);
    ~GzipSink() override;
    GzipSink(const GzipSink&) = delete;
    GzipSink& operator=(const GzipSink&) = delete;

    bool write(std::string_view bytes) override;
    // Ends the stream with its checksum and length; false when anything failed.
    bool finish();

private:
    bool pump(int flush);

    ByteSink& out;
    z_stream z{};
    bool usable = false;
    std::string buffer;
};
