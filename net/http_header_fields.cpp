#include "net/http_header_fields.h"

#include "sys/ascii_text.h"

namespace {

std::string_view without_blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::pair<std::string, std::string>> header_field(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    const std::string_view name = line.substr(0, colon);
    // A name never holds blanks; a status line whose reason holds a colon is no field.
    if (name.find_first_of(" \t") != std::string_view::npos) return std::nullopt;
    return std::pair{std::string(name), std::string(without_blanks(line.substr(colon + 1)))};
}

std::optional<std::string> header_value(const HttpHeaderFields& fields, std::string_view name) {
    const std::string wanted = ascii_lower(std::string(name));
    for (const auto& [field, value] : fields) {
        if (ascii_lower(field) == wanted) return value;
    }
    return std::nullopt;
}
