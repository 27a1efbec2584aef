#include "net/http_body_sink.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "sys/fs_path.h"
#include "sys/open_file.h"
#include "sys/text_convert.h"

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// A byte-order mark that went through one decoding too many: the characters U+00EF U+00BB U+00BF.
constexpr char kDecodedByteOrderMark[] = "\xC3\xAF\xC2\xBB\xC2\xBF";

// Length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t sequence_length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

std::string valid_utf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequence_length(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

HttpBodySink::HttpBodySink(std::string path, std::int64_t announced, std::size_t limit_)
    : download_path(std::move(path)),
      capacity(announced >= 0 ? static_cast<std::size_t>(std::min<std::uint64_t>(announced, kMaxCapacity))
                              : kDefaultCapacity),
      limit(limit_),
      announced_length(announced) {
    // The limit comes from the server; it bounds what is kept, it is not allocated up front.
    text.reserve(std::min(capacity, kDefaultCapacity));
}

bool HttpBodySink::open_file() {
    std::error_code error;
    const std::filesystem::path target = fs_path(download_path);
    if (std::filesystem::exists(target, error) && !std::filesystem::remove(target, error)) {
        failure_text = "error=" + download_path + "\n\nfail to DeleteFile().";
        return false;
    }
    file.reset(::open_file(download_path, "wb"));  // the platform's, not this member
    if (!file) {
        failure_text = "error=" + download_path + "\n\nfail to CreateFile().";
        return false;
    }
    return true;
}

bool HttpBodySink::write(const char* data, std::size_t size) {
    if (limit > 0) {
        received += size;
        beyond_limit = received > limit ||
                       (announced_length >= 0 && static_cast<std::uint64_t>(announced_length) > limit);
        if (beyond_limit) return false;
    }
    if (size == 0) return true;
    if (!download_path.empty()) {
        if (!file && !open_file()) return false;
        offset += size;
        if (std::fwrite(data, 1, size, file.get()) == size) return true;
        failure_text = "error=" + download_path + "\n\nfail to WriteFile().";
        return false;
    }
    if (offset == 0 && size >= 3 && std::equal(data, data + 3, kByteOrderMark)) {
        data += 3;
        size -= 3;
        offset = 3;
        mark_dropped = true;
    }
    // UTF-16 holds a NUL in every other byte: such a body is kept whole and decoded at the end.
    if (offset == 0 && size >= 2) utf16 = starts_with_utf16_mark(std::string(data, 2));
    if (utf16) {
        text.append(data, std::min(size, capacity - std::min(capacity, text.size())));
        offset += size;
        return true;
    }
    keep_in_memory(data, size);
    return true;
}

void HttpBodySink::keep_in_memory(const char* data, std::size_t size) {
    while (size > 0) {
        if (offset % kPieceSize == 0) piece_cut = false;
        const std::size_t in_piece = std::min<std::size_t>(size, kPieceSize - offset % kPieceSize);
        if (!piece_cut) {
            const char* nul = std::find(data, data + in_piece, '\0');
            piece_cut = nul != data + in_piece;
            const std::size_t room = capacity - std::min(capacity, text.size());
            text.append(data, std::min<std::size_t>(nul - data, room));
        }
        data += in_piece;
        size -= in_piece;
        offset += in_piece;
    }
}

std::string HttpBodySink::finish() {
    if (!download_path.empty()) {
        file.reset();
        return {};
    }
    if (utf16) return utf8_prefix(text_as_utf8(text), capacity);  // Hangul takes 3 bytes here, 2 there
    std::string result = valid_utf8(text);
    // A mark that arrived split over several reads is dropped here instead.
    if (!mark_dropped && result.starts_with(kByteOrderMark)) result.erase(0, sizeof kByteOrderMark - 1);
    if (result.starts_with(kDecodedByteOrderMark)) result.erase(0, sizeof kDecodedByteOrderMark - 1);
    return result;
}
