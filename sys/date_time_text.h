#pragma once

#include <cstdint>
#include <string>

// Date and time texts in the order of the user-interface language. Stateless; no side effects.
// Every formatter has an overload taking the language decision (korean_ui) explicitly; the short
// forms ask is_korean_ui().

struct LocalDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

LocalDateTime local_now();
// Calendar seconds to local time; all fields 0 (and *ok false) when the conversion fails.
LocalDateTime to_local(int64_t calendar_time, bool* ok = nullptr);

// Whether the user interface is Korean: the first non-empty of LC_ALL, LC_MESSAGES and LANG names
// the language "ko".
bool is_korean_ui();
bool is_korean_locale_name(const std::string& locale_name);

enum DateTimeKind { kDateOnly = 0, kTimeOnly = 1, kDateAndTime = 2 };

// Korean: year, month, day with the separator (2024-03-05, 20240305).
// Otherwise month/day/year, always with "/" (3/5/2024).
std::string format_date(const LocalDateTime& when, const std::string& separator);
std::string format_date(const LocalDateTime& when, const std::string& separator, bool korean_ui);

// 24-hour: 14:07:09. 12-hour: "오후  2:07:09" (Korean) or " 2:07:09 PM". Without seconds the last
// separator and the seconds are left out; with ms ".042" follows.
std::string format_time(const LocalDateTime& when, const std::string& separator, bool h24, bool seconds,
                        bool ms);
std::string format_time(const LocalDateTime& when, const std::string& separator, bool h24, bool seconds,
                        bool ms, bool korean_ui);

// separators: "-" between date fields and ":" between time fields, else none. The between text goes
// between date and time for kDateAndTime.
std::string format_date_time(int64_t calendar_time, DateTimeKind kind, bool separators,
                             const std::string& between, bool h24, bool seconds);
std::string format_date_time(const LocalDateTime& when, DateTimeKind kind, bool separators,
                             const std::string& between, bool h24, bool seconds, bool ms);
std::string format_date_time(const LocalDateTime& when, DateTimeKind kind, bool separators,
                             const std::string& between, bool h24, bool seconds, bool ms, bool korean_ui);
std::string format_date_time_now(DateTimeKind kind, bool separators, const std::string& between, bool h24,
                                 bool seconds, bool ms);
