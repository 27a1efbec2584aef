#include "sys/lookup_buffer.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(LookupWithGrowingBuffer, GrowsUntilTheEntryFitsAndStopsAtTheLimit) {
    // An entry of a group with thousands of members needs far more than any fixed buffer.
    std::vector<char> buffer(65536);
    int calls = 0;
    const auto needs_300k = [&](std::vector<char>& b) {
        ++calls;
        return b.size() < 300000 ? ERANGE : 0;
    };
    EXPECT_EQ(lookup_with_growing_buffer(buffer, needs_300k), 0);
    EXPECT_GE(buffer.size(), 300000u);
    EXPECT_EQ(calls, 4);  // 64, 128, 256 and 512 KiB

    std::vector<char> small;
    EXPECT_EQ(lookup_with_growing_buffer(
                  small, [](std::vector<char>&) { return ERANGE; }, 1 << 20),
              ERANGE);
    EXPECT_EQ(small.size(), size_t{1} << 20) << "never past the limit";

    std::vector<char> other(16);
    calls = 0;
    EXPECT_EQ(lookup_with_growing_buffer(other,
                                         [&](std::vector<char>&) {
                                             ++calls;
                                             return EIO;
                                         }),
              EIO);
    EXPECT_EQ(calls, 1) << "only a too-small buffer is worth another try";
}
