#include "cli/cli_options.h"

#include <cstdlib>
#include <string_view>

bool parse_cli_options(int argc, const char* const* argv, CliOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--save-log") {
            options.save_log = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--web-host" || arg == "--web-port") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = std::string(arg) + " needs a value";
                return false;
            }
            const char* value = argv[++i];
            if (arg == "--web-host") {
                options.web_host = value;
                continue;
            }
            char* end = nullptr;
            const long port = std::strtol(value, &end, 10);
            if (*end != '\0' || port < 1 || port > 65535) {
                error = std::string("not a port: ") + value;
                return false;
            }
            options.web_port = static_cast<int>(port);
        } else {
            error = "unknown argument: " + std::string(arg);
            return false;
        }
    }
    return true;
}
