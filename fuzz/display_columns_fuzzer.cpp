// Report cells are padded by display columns; titles and host names come from outside, so any bytes
// must pad to at least the asked width without losing or changing the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "report/display_columns.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int columns = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const int width = display_width(text);
    if (width < 0) std::abort();
    for (const std::string& padded : {pad_right(text, columns), pad_left(text, columns)}) {
        if (padded.find(text) == std::string::npos) std::abort();
        const int padded_width = display_width(padded);
        if (padded_width < columns && padded_width != width) std::abort();
        if (padded.size() - text.size() != static_cast<std::size_t>(padded_width - width)) std::abort();
    }
    return 0;
}
