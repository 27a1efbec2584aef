#include "tools/lab/port_placeholders.h"

std::string with_ports(std::string text, const std::map<std::string, int>& ports) {
    for (const auto& [name, port] : ports) {
        const std::string token = "{" + name + "}";
        for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at)) {
            text.replace(at, token.size(), std::to_string(port));
        }
    }
    return text;
}
