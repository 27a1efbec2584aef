#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "bench/soak/process_usage.h"
#include "bench/soak/soak_verdict.h"

namespace {

TEST(ProcessUsage, SeesDescriptorsThreadsAndMemoryComeAndGo) {
    // A sanitizer starts helper threads of its own with the first thread; let that happen first.
    std::thread([] {}).join();
    const ProcessUsage before = current_process_usage();
    ASSERT_GE(before.open_descriptors, 3);  // standard input, output and error at least
    ASSERT_GE(before.threads, 1);
    ASSERT_GT(before.resident_kib, 0);
    EXPECT_EQ(current_process_usage().open_descriptors, before.open_descriptors);  // reading opens nothing

    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(current_process_usage().open_descriptors, before.open_descriptors + 1);
    std::fclose(file);
    EXPECT_EQ(current_process_usage().open_descriptors, before.open_descriptors);

    std::promise<void> release;
    std::promise<ProcessUsage> seen;
    std::thread worker([&] {
        seen.set_value(current_process_usage());
        release.get_future().wait();
    });
    EXPECT_EQ(seen.get_future().get().threads, before.threads + 1);
    release.set_value();
    worker.join();
    EXPECT_EQ(current_process_usage().threads, before.threads);

    // Memory counts once it is touched, in KiB.
    constexpr size_t kBytes = 32u << 20;
    std::unique_ptr<char[]> block(new char[kBytes]);
    std::memset(block.get(), 1, kBytes);
    EXPECT_GE(current_process_usage().resident_kib - before.resident_kib, 30 * 1024);
}

ProcessUsage usage(long descriptors, long threads, long resident_kib) {
    ProcessUsage u;
    u.open_descriptors = descriptors;
    u.threads = threads;
    u.resident_kib = resident_kib;
    return u;
}

TEST(SoakVerdict, FlatOnlyWithEqualCountsAndSmallMemoryGrowth) {
    const ProcessUsage start = usage(12, 3, 20000);
    const SoakVerdict same = judge_soak(start, start);
    EXPECT_TRUE(same.flat);
    EXPECT_EQ(same.line,
              "flat: descriptors 12 -> 12, threads 3 -> 3, resident 20000 KiB -> 20000 KiB "
              "(+0 KiB, limit +4096 KiB)");
    EXPECT_TRUE(judge_soak(start, usage(12, 3, 20000 + kMaxResidentGrowthKib - 1)).flat);
    EXPECT_TRUE(judge_soak(start, usage(12, 3, 15000)).flat);  // memory given back

    const SoakVerdict leaked_descriptor = judge_soak(start, usage(13, 3, 20000));
    EXPECT_FALSE(leaked_descriptor.flat);
    EXPECT_EQ(leaked_descriptor.line.rfind("NOT flat: descriptors 12 -> 13 (must stay equal), ", 0), 0u)
        << leaked_descriptor.line;
    EXPECT_FALSE(judge_soak(start, usage(11, 3, 20000)).flat);  // a change either way is news
    EXPECT_FALSE(judge_soak(start, usage(12, 4, 20000)).flat);
    EXPECT_FALSE(judge_soak(start, usage(12, 3, 20000 + kMaxResidentGrowthKib)).flat);
}

TEST(SoakVerdict, UnreadableUsageIsNeverFlat) {
    const SoakVerdict unread = judge_soak(ProcessUsage{}, ProcessUsage{});
    EXPECT_FALSE(unread.flat);
    EXPECT_EQ(unread.line.rfind("NOT flat: usage could not be read: ", 0), 0u) << unread.line;
    EXPECT_FALSE(judge_soak(usage(12, 3, 20000), usage(12, 3, -1)).flat);
}

}  // namespace
