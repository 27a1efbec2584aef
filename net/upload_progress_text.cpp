#include "net/upload_progress_text.h"

#include <cmath>

#include "sys/number_text.h"
#include "sys/string_printf.h"

namespace {

std::string size_text(double bytes) {
    return format_size(static_cast<std::uint64_t>(bytes), -1, 0, true, false);
}

// 0:13, 12:05, 1:02:09
std::string duration_text(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    const long long hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
    return hours > 0 ? string_printf("%lld:%02lld:%02lld", hours, minutes, rest)
                     : string_printf("%lld:%02lld", minutes, rest);
}

}  // namespace

std::string upload_progress_text(std::int64_t sent, std::int64_t total, double seconds) {
    const long long percent = total > 0 ? sent * 100 / total : 100;
    std::string text = size_text(static_cast<double>(sent)) + " of " + size_text(static_cast<double>(total)) +
                       " (" + std::to_string(percent) + "%)";
    if (sent <= 0 || seconds < 0.1) return text;
    const double rate = static_cast<double>(sent) / seconds;
    return text + ", " + size_text(rate) + "/s, " + duration_text(static_cast<double>(total - sent) / rate) +
           " left";
}
