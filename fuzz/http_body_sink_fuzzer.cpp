// An HTTP body as a lying or hostile server might send it: any announced length, any split into
// pieces, byte-order marks, NULs and broken UTF-8. The kept text must stay within its capacity and
// always come back as valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/http_body_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // First byte: the announced length (none, small, or far larger than the body); second: the piece size.
    const std::int64_t announced = data[0] == 0 ? -1 : data[0] == 1 ? (std::int64_t{1} << 40) : data[0] * 37;
    const std::size_t piece = 1 + data[1] * 31;
    data += 2;
    size -= 2;

    HttpBodySink sink(std::string(), announced);
    for (std::size_t at = 0; at < size; at += piece) {
        const std::size_t length = size - at < piece ? size - at : piece;
        if (!sink.write(reinterpret_cast<const char*>(data + at), length)) std::abort();
    }
    const std::string text = sink.finish();
    if (valid_utf8(text) != text) std::abort();

    const std::string raw(reinterpret_cast<const char*>(data), size);
    const std::string repaired = valid_utf8(raw);
    if (valid_utf8(repaired) != repaired) std::abort();
    return 0;
}
