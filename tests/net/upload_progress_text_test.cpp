#include "net/upload_progress_text.h"

#include <gtest/gtest.h>

TEST(UploadProgressText, BytesPercentRateAndTimeLeft) {
    constexpr std::int64_t MB = 1024 * 1024;
    EXPECT_EQ(upload_progress_text(0, 200 * MB, 0), "0 Bytes of 200MB (0%)")
        << "no rate before anything moved";
    EXPECT_EQ(upload_progress_text(50 * MB, 200 * MB, 4), "50.0MB of 200MB (25%), 12.5MB/s, 0:12 left");
    EXPECT_EQ(upload_progress_text(MB, 4096 * MB, 10), "1.00MB of 4.00GB (0%), 103KB/s, 11:22:30 left");
    EXPECT_EQ(upload_progress_text(200 * MB, 200 * MB, 16), "200MB of 200MB (100%), 12.5MB/s, 0:00 left");
    EXPECT_EQ(upload_progress_text(0, 0, 1), "0 Bytes of 0 Bytes (100%)");
}
