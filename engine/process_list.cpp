#include "engine/process_list.h"

#include <sstream>
#include <vector>

namespace {

constexpr const char* kBlanks = " \t";

// The start of each blank-separated field of line, up to max_fields of them.
std::vector<size_t> field_starts(const std::string& line, size_t max_fields) {
    std::vector<size_t> starts;
    for (size_t at = line.find_first_not_of(kBlanks);
         at != std::string::npos && starts.size() < max_fields;) {
        starts.push_back(at);
        at = line.find_first_not_of(kBlanks, line.find_first_of(kBlanks, at));
    }
    return starts;
}

std::string field_at(const std::string& line, size_t start) {
    return line.substr(start, line.find_first_of(kBlanks, start) - start);
}

// ps cuts a name longer than its column and marks the cut with "+" ("jkimplan+").
bool names_login(const std::string& field, const std::string& login) {
    if (field == login) return true;
    return field.size() > 1 && field.back() == '+' && login.size() >= field.size() &&
           login.compare(0, field.size() - 1, field, 0, field.size() - 1) == 0;
}

}  // namespace

std::string without_other_users_arguments(const std::string& listing, const std::string& login) {
    std::istringstream in(listing);
    std::string header;
    std::getline(in, header);
    std::vector<std::string> columns;
    for (size_t start : field_starts(header, header.size())) columns.push_back(field_at(header, start));
    size_t user = columns.size();
    for (size_t n = 0; n < columns.size(); ++n)
        if (columns[n] == "USER") user = n;
    if (columns.empty() || columns.back() != "COMMAND" || user == columns.size()) return listing;
    const size_t command = columns.size() - 1;

    std::string out = header + "\n";
    for (std::string line; std::getline(in, line);) {
        const std::vector<size_t> starts = field_starts(line, command + 1);
        const bool own = starts.size() > user && names_login(field_at(line, starts[user]), login);
        if (starts.size() == command + 1 && !own) {
            // The program alone, without what follows it.
            const size_t program_end = line.find_first_of(kBlanks, starts[command]);
            if (program_end != std::string::npos) line.resize(program_end);
        }
        out += line + "\n";
    }
    return out;
}
