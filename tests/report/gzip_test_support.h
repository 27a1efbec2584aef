#pragma once

#include <zlib.h>

#include <string>

// gzip's format made and read with zlib alone, for the tests of redacted logs (report and collection
// tests, hence header only).

inline std::string gzip(const std::string& text) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(text.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Every member, one after another; what cannot be read ends the text.
inline std::string gunzip(const std::string& packed) {
    std::string out;
    z_stream z{};
    inflateInit2(&z, 15 + 16);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    char buffer[4096];
    for (int status = Z_OK; status == Z_OK || (status == Z_STREAM_END && z.avail_in > 0);) {
        if (status == Z_STREAM_END) inflateReset(&z);
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    }
    inflateEnd(&z);
    return out;
}
