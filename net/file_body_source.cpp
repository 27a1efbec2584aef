#include "net/file_body_source.h"

#include <algorithm>

#include "sys/open_file.h"

FileBodySource::FileBodySource(const std::string& path, std::int64_t size, std::string known_md5,
                               std::function<void(std::int64_t)> on_sent)
    : file(open_file(path, "rb")),
      total(size),
      on_sent(std::move(on_sent)),
      unreadable(!file),
      known_md5(std::move(known_md5)) {}

std::int64_t FileBodySource::read(char* buffer, std::size_t capacity) {
    if (unreadable) return -1;
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(capacity, total - taken));
    if (wanted == 0) return 0;
    const std::size_t got = std::fread(buffer, 1, wanted, file.get());
    if (got == 0) {
        unreadable = true;
        return -1;
    }
    if (known_md5.empty()) digest.add(buffer, got);
    taken += static_cast<std::int64_t>(got);
    return static_cast<std::int64_t>(got);
}

void FileBodySource::sent(std::int64_t bytes) {
    gone = bytes;
    if (on_sent) on_sent(bytes);
}
