// The product title from the check list becomes part of the archive's file name. Whatever it holds,
// the name must stay one file in the collection folder, within the file system's 255 bytes, and keep
// a valid UTF-8 title valid (a cut never splits a character).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/save_log.h"
#include "net/http_body_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string title(reinterpret_cast<const char*>(data), size);
    const std::string name = final_archive_name(title, 2026, 12, 9, 14, 5, 59);
    if (name.size() > 255) std::abort();
    if (name.size() < 19 || name.compare(name.size() - 19, 19, "_20261209140559.zip") != 0) std::abort();
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\') std::abort();
    if (valid_utf8(title) == title && valid_utf8(name) != name) std::abort();
    return 0;
}
