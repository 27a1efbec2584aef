#include <sys/time.h>
#include <time.h>

#include <cstdlib>

#include "sys/date_time_text.h"

namespace {

LocalDateTime from_tm(const struct tm& t, int millisecond) {
    return LocalDateTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,  t.tm_hour,
                         t.tm_min,         t.tm_sec,     millisecond};
}

}  // namespace

LocalDateTime local_now() {
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm t {};
    time_t seconds = now.tv_sec;
    if (!localtime_r(&seconds, &t)) return {};
    return from_tm(t, static_cast<int>(now.tv_nsec / 1000000));
}

LocalDateTime to_local(int64_t calendar_time, bool* ok) {
    struct tm t {};
    time_t seconds = static_cast<time_t>(calendar_time);
    bool converted = localtime_r(&seconds, &t) != nullptr;
    if (ok) *ok = converted;
    return converted ? from_tm(t, 0) : LocalDateTime{};
}

bool is_korean_ui() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return is_korean_locale_name(value);
    }
    return false;
}
