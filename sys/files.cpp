#include "sys/files.h"

#include <fstream>
#include <system_error>

#include "sys/fs_path.h"
#include "sys/system_figures.h"

bool write_text_file(const std::string& path, const std::string& text, int code_page, bool raw) {
    std::ofstream file(fs_path(path), std::ios::binary | std::ios::trunc);
    if (!file) return false;
    if (code_page != 0) {
        // UTF-8 with a byte-order mark and CR LF line ends; a line that already ends in CR LF keeps it.
        std::string out = "\xEF\xBB\xBF";
        out.reserve(text.size() + text.size() / 16 + 3);
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
            out += text[i];
        }
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
    } else {
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (raw) file.put('\0');
    }
    file.close();
    return !file.fail();
}

uint64_t get_file_size(const std::string& path) {
    bool drive = path.size() == 2 && path[1] == ':';
    if (drive || path == "/") {
        uint64_t total = get_disk_total(path);
        uint64_t free = get_disk_free(path);
        return total > free ? total - free : 0;
    }
    std::error_code ec;
    uintmax_t size = std::filesystem::file_size(fs_path(path), ec);
    return ec ? 0 : static_cast<uint64_t>(size);
}
