#include <windows.h>

#include "sys/date_time_text.h"

namespace {

LocalDateTime from_system_time(const SYSTEMTIME& t) {
    return LocalDateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

// Seconds between 1601-01-01 (file times) and 1970-01-01 (calendar seconds).
constexpr int64_t kEpochGapSeconds = 11644473600LL;

}  // namespace

LocalDateTime local_now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return from_system_time(now);
}

LocalDateTime to_local(int64_t calendar_time, bool* ok) {
    bool converted = false;
    SYSTEMTIME universal{}, local{};
    if (calendar_time >= -kEpochGapSeconds && calendar_time < INT64_MAX / 10000000 - kEpochGapSeconds) {
        const uint64_t ticks = static_cast<uint64_t>(calendar_time + kEpochGapSeconds) * 10000000ULL;
        FILETIME file_time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        converted = FileTimeToSystemTime(&file_time, &universal) &&
                    SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    }
    if (ok) *ok = converted;
    return converted ? from_system_time(local) : LocalDateTime{};
}

// The user's display language decides, as the rest of Windows does.
bool is_korean_ui() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_KOREAN;
}
