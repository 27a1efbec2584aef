// The log writer when memory runs out inside a call: this binary replaces the global allocation
// functions so that a chosen allocation fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <new>

#include "log/CSCLog.h"

namespace {

// Allocations left before the one that fails; negative: none fails.
thread_local long allocations_until_failure = -1;

}  // namespace

void* operator new(std::size_t size) {
    if (allocations_until_failure == 0) {
        allocations_until_failure = -1;
        throw std::bad_alloc();
    }
    if (allocations_until_failure > 0) --allocations_until_failure;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

TEST(LogFailure, NoAllocationFailureEscapesAndTheFileIsClosedEveryTime) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("checktool-log-failure-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(folder);
    CSCLog log(folder.string(), "tool");
    // A first record fixes the path; every later failure is counted from a fresh call.
    ASSERT_FALSE(log.write(CSCLog::info, "f", 1, "%s", "first").empty());
    const std::string path = log.path();
    const std::string long_text(300, 'x');  // past any small-string buffer, so every copy allocates

    bool some_call_failed = false;
    for (long n = 0; n < 60; ++n) {
        std::string returned;
        allocations_until_failure = n;
        EXPECT_NO_THROW(returned = log.write(CSCLog::warn, "Dlg::f", 10, "%s %ld", long_text.c_str(), n))
            << "failing allocation " << n;
        const bool failed_inside = allocations_until_failure < 0;
        allocations_until_failure = -1;
        some_call_failed = some_call_failed || failed_inside;

        // Closed: the next record opens the file again, so it lands in a file of that path even
        // after the old one was removed (an open handle would write into the removed one).
        std::filesystem::remove(path);
        ASSERT_FALSE(log.write(CSCLog::plain, "f", 2, "after %ld", n).empty()) << n;
        EXPECT_TRUE(std::filesystem::exists(path)) << "the file stayed open after failing allocation " << n;
    }
    EXPECT_TRUE(some_call_failed);
    std::filesystem::remove_all(folder);
}
