#include "sys/date_time_text.h"

#include "sys/ascii_text.h"
#include "sys/string_printf.h"

namespace {

int twelve_hour(int hour) {
    return hour >= 13 ? hour - 12 : hour;
}

}  // namespace

bool is_korean_locale_name(const std::string& locale_name) {
    std::string name = ascii_lower(locale_name);
    if (name.size() < 2 || name.compare(0, 2, "ko") != 0) return false;
    return name.size() == 2 || name[2] == '_' || name[2] == '-' || name[2] == '.' || name[2] == '@';
}

std::string format_date(const LocalDateTime& when, const std::string& separator, bool korean_ui) {
    if (korean_ui)
        return string_printf("%d%s%02d%s%02d", when.year, separator.c_str(), when.month, separator.c_str(), when.day);
    return string_printf("%d/%d/%d", when.month, when.day, when.year);
}

std::string format_date(const LocalDateTime& when, const std::string& separator) {
    return format_date(when, separator, is_korean_ui());
}

std::string format_time(const LocalDateTime& when, const std::string& separator, bool h24, bool seconds,
                        bool ms, bool korean_ui) {
    const char* sep = separator.c_str();
    std::string text;
    if (h24 || korean_ui) {
        if (h24)
            text = string_printf("%02d%s%02d%s%02d", when.hour, sep, when.minute, sep, when.second);
        else
            text = string_printf("%s %2d%s%02d%s%02d", when.hour < 12 ? "오전" : "오후", twelve_hour(when.hour), sep,
                         when.minute, sep, when.second);
        if (!seconds) text.resize(text.size() - separator.size() - 2);
    } else {
        const char* half = when.hour < 12 ? "AM" : "PM";
        text = seconds ? string_printf("%2d%s%02d%s%02d %s", twelve_hour(when.hour), sep, when.minute, sep,
                               when.second, half)
                       : string_printf("%2d%s%02d %s", twelve_hour(when.hour), sep, when.minute, half);
    }
    if (ms) text += string_printf(".%03d", when.millisecond);
    return text;
}

std::string format_time(const LocalDateTime& when, const std::string& separator, bool h24, bool seconds,
                        bool ms) {
    return format_time(when, separator, h24, seconds, ms, is_korean_ui());
}

std::string format_date_time(const LocalDateTime& when, DateTimeKind kind, bool separators,
                             const std::string& between, bool h24, bool seconds, bool ms, bool korean_ui) {
    std::string date_separator = separators ? "-" : "";
    std::string time_separator = separators ? ":" : "";
    switch (kind) {
        case kDateOnly:
            return format_date(when, date_separator, korean_ui);
        case kTimeOnly:
            return format_time(when, time_separator, h24, seconds, ms, korean_ui);
        case kDateAndTime:
            return format_date(when, date_separator, korean_ui) + between +
                   format_time(when, time_separator, h24, seconds, ms, korean_ui);
    }
    return {};
}

std::string format_date_time(const LocalDateTime& when, DateTimeKind kind, bool separators,
                             const std::string& between, bool h24, bool seconds, bool ms) {
    return format_date_time(when, kind, separators, between, h24, seconds, ms, is_korean_ui());
}

std::string format_date_time(int64_t calendar_time, DateTimeKind kind, bool separators,
                             const std::string& between, bool h24, bool seconds) {
    return format_date_time(to_local(calendar_time), kind, separators, between, h24, seconds, false);
}

std::string format_date_time_now(DateTimeKind kind, bool separators, const std::string& between, bool h24,
                                 bool seconds, bool ms) {
    return format_date_time(local_now(), kind, separators, between, h24, seconds, ms);
}
