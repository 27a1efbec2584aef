#include "net/retry_after.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

// Days from 1970-01-01 to a date of the Gregorian calendar.
std::int64_t days_since_epoch(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int year_of_era = year - era * 400;
    const int day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return static_cast<std::int64_t>(era) * 146097 + day_of_era - 719468;
}

std::optional<std::int64_t> http_date(const std::string& value) {
    static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char weekday[4] = {}, month_name[4] = {}, zone[4] = {};
    int day = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(value.c_str(), "%3s, %d %3s %d %d:%d:%d %3s", weekday, &day, month_name, &year, &hour,
                    &minute, &second, zone) != 8 ||
        std::strcmp(zone, "GMT") != 0)
        return std::nullopt;
    const auto month = std::find_if(kMonths.begin(), kMonths.end(),
                                    [&](const char* name) { return std::strcmp(name, month_name) == 0; });
    if (month == kMonths.end() || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    const int month_number = static_cast<int>(month - kMonths.begin()) + 1;
    return days_since_epoch(year, month_number, day) * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace

std::optional<std::int64_t> retry_after_seconds(const std::string& value, std::int64_t now) {
    if (!value.empty() && value.size() <= 9 && value.find_first_not_of("0123456789") == std::string::npos)
        return std::stoll(value);
    const std::optional<std::int64_t> when = http_date(value);
    if (!when) return std::nullopt;
    return std::max<std::int64_t>(*when - now, 0);
}
