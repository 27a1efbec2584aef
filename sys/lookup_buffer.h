#pragma once

#include <cerrno>
#include <cstddef>
#include <vector>

// The user and group lookups of the system fill a caller's buffer and answer ERANGE when it is too
// small; an entry of a large group easily passes any fixed size. Calls lookup(buffer) with a buffer
// that doubles while the answer is ERANGE, up to max_bytes, and returns the last answer.
template <typename Lookup>
int lookup_with_growing_buffer(std::vector<char>& buffer, Lookup lookup,
                               size_t max_bytes = size_t{64} << 20) {
    if (buffer.empty()) buffer.resize(1024);
    for (;;) {
        const int answer = lookup(buffer);
        if (answer != ERANGE || buffer.size() >= max_bytes) return answer;
        buffer.resize(buffer.size() * 2 < max_bytes ? buffer.size() * 2 : max_bytes);
    }
}
