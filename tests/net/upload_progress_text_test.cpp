#include "net/upload_progress_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "net/upload_progress_line.h"

TEST(UploadProgressText, BytesPercentRateAndTimeLeft) {
    constexpr std::int64_t MB = 1024 * 1024;
    EXPECT_EQ(upload_progress_text(0, 200 * MB, 0), "0 Bytes of 200MB (0%)")
        << "no rate before anything moved";
    EXPECT_EQ(upload_progress_text(50 * MB, 200 * MB, 4), "50.0MB of 200MB (25%), 12.5MB/s, 0:12 left");
    EXPECT_EQ(upload_progress_text(MB, 4096 * MB, 10), "1.00MB of 4.00GB (0%), 103KB/s, 11:22:30 left");
    EXPECT_EQ(upload_progress_text(200 * MB, 200 * MB, 16), "200MB of 200MB (100%), 12.5MB/s, 0:00 left");
    EXPECT_EQ(upload_progress_text(0, 0, 1), "0 Bytes of 0 Bytes (100%)");
}

namespace {

// What a terminal is given, in order.
class Terminal {
public:
    void write(const std::string& text) {
        std::lock_guard<std::mutex> guard(lock);
        given += text;
        changed.notify_all();
    }
    bool shows_within(const std::string& text, std::chrono::seconds bound) {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, bound, [&] { return given.find(text) != std::string::npos; });
    }
    std::string all() {
        std::lock_guard<std::mutex> guard(lock);
        return given;
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    std::string given;
};

}  // namespace

TEST(UploadProgressLine, TheNewestCountIsDrawnWhenNoMoreComeAndEachAttemptHasItsOwnLine) {
    constexpr std::int64_t MB = 1024 * 1024;
    Terminal terminal;
    {
        UploadProgressLine line([&](const std::string& text) { terminal.write(text); });
        line.update(0, 100 * MB);
        // Within a tenth of a second of the first, then nothing more: a server that stalls.
        line.update(10 * MB, 100 * MB);
        EXPECT_TRUE(terminal.shows_within("\r10.0MB of 100MB (10%)", std::chrono::seconds(10)))
            << terminal.all();
        line.end();
        line.update(MB, 100 * MB);  // the next attempt
        line.end();
        line.end();
    }
    const std::string shown = terminal.all();
    EXPECT_EQ(shown.substr(0, 1), "\r");
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 2) << "one line per attempt";
    EXPECT_NE(shown.find("\r1.00MB of 100MB (1%)"), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 4), "\x1b[K\n") << "each line ends erased to its end";
}
