#include "res/string_arguments.h"

#include <vector>

std::string with_arguments(const std::string& text, std::initializer_list<std::string> values) {
    const std::vector<std::string> given(values);
    std::string out;
    for (size_t at = 0; at < text.size(); ++at) {
        const size_t number = at + 1 < text.size() ? static_cast<size_t>(text[at + 1] - '1') : given.size();
        if (text[at] == '%' && number < given.size() && number < 9) {
            out += given[number];
            ++at;
        } else {
            out += text[at];
        }
    }
    return out;
}
