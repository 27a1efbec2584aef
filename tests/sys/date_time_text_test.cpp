#include "sys/date_time_text.h"

#include <gtest/gtest.h>

namespace {
const LocalDateTime kAfternoon{2024, 3, 5, 14, 7, 9, 42};
LocalDateTime at(int hour, int minute, int second) {
    return LocalDateTime{2024, 3, 5, hour, minute, second, 0};
}
}  // namespace

TEST(FormatDate, KoreanOrderKeepsTheSeparator) {
    EXPECT_EQ(format_date(kAfternoon, "-", true), "2024-03-05");
    EXPECT_EQ(format_date(kAfternoon, "", true), "20240305");
}

TEST(FormatDate, OtherLanguagesAlwaysUseSlashes) {
    EXPECT_EQ(format_date(kAfternoon, "-", false), "3/5/2024");
    EXPECT_EQ(format_date(kAfternoon, "", false), "3/5/2024");
}

TEST(FormatTime, TwentyFourHour) {
    EXPECT_EQ(format_time(kAfternoon, ":", true, true, false, true), "14:07:09");
    EXPECT_EQ(format_time(kAfternoon, "", true, true, false, false), "140709");
    EXPECT_EQ(format_time(kAfternoon, ":", true, false, false, true), "14:07");
    EXPECT_EQ(format_time(kAfternoon, "", true, false, false, true), "1407");
    EXPECT_EQ(format_time(kAfternoon, ":", true, true, true, true), "14:07:09.042");
}

TEST(FormatTime, KoreanTwelveHourAroundMidnightAndNoon) {
    EXPECT_EQ(format_time(at(0, 30, 0), ":", false, true, false, true), "오전  0:30:00");
    EXPECT_EQ(format_time(at(12, 30, 0), ":", false, true, false, true), "오후 12:30:00");
    EXPECT_EQ(format_time(kAfternoon, ":", false, true, false, true), "오후  2:07:09");
    EXPECT_EQ(format_time(kAfternoon, ":", false, false, false, true), "오후  2:07");
}

TEST(FormatTime, EnglishTwelveHour) {
    EXPECT_EQ(format_time(kAfternoon, ":", false, true, false, false), " 2:07:09 PM");
    EXPECT_EQ(format_time(kAfternoon, ":", false, false, true, false), " 2:07 PM.042");
    EXPECT_EQ(format_time(at(11, 59, 59), ":", false, true, false, false), "11:59:59 AM");
}

TEST(FormatDateTime, KindsAndSeparators) {
    EXPECT_EQ(format_date_time(kAfternoon, kDateAndTime, true, " ", true, true, false, true),
              "2024-03-05 14:07:09");
    EXPECT_EQ(format_date_time(kAfternoon, kDateAndTime, false, "", true, true, false, true),
              "20240305140709");
    EXPECT_EQ(format_date_time(kAfternoon, kDateAndTime, false, "", true, true, false, false),
              "3/5/2024140709");
    EXPECT_EQ(format_date_time(kAfternoon, kTimeOnly, true, " ", true, true, false, true), "14:07:09");
    EXPECT_EQ(format_date_time(kAfternoon, kDateOnly, true, " ", true, true, true, true), "2024-03-05");
}

TEST(FormatDateTime, CalendarTimeRoundTripsThroughLocalTime) {
    bool ok = false;
    LocalDateTime local =
        to_local(1709615229, &ok);  // a moment on 5 March 2024 in every time zone but the extremes
    ASSERT_TRUE(ok);
    EXPECT_EQ(local.year, 2024);
    EXPECT_EQ(local.month, 3);
    EXPECT_EQ(format_date_time(1709615229, kDateAndTime, true, " ", true, true),
              format_date_time(local, kDateAndTime, true, " ", true, true, false));
}

TEST(FormatDateTime, UnconvertibleTimeGivesZeroDate) {
    bool ok = true;
    LocalDateTime local = to_local(INT64_MAX, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(format_date(local, "-", true), "0-00-00");
    EXPECT_EQ(format_date(local, "-", false), "0/0/0");
}

TEST(KoreanLocale, OnlyTheKoreanLanguageCounts) {
    for (const char* name : {"ko", "ko_KR", "ko_KR.UTF-8", "KO_kr.utf8", "ko@euro", "ko-KR"})
        EXPECT_TRUE(is_korean_locale_name(name)) << name;
    for (const char* name : {"", "C", "POSIX", "en_US.UTF-8", "kok_IN", "k", "C.UTF-8"})
        EXPECT_FALSE(is_korean_locale_name(name)) << name;
}
