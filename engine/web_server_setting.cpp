#include "engine/web_server_setting.h"

#include <cstdlib>

#include "build_config.h"

std::string default_web_host() {
    const char* value = std::getenv("CHECKTOOL_WEB_HOST");
    return value && *value ? value : CHECKTOOL_DEFAULT_WEB_HOST;
}

int default_web_port() {
    const char* value = std::getenv("CHECKTOOL_WEB_PORT");
    if (value && *value) {
        char* end = nullptr;
        const long port = std::strtol(value, &end, 10);
        if (*end == '\0' && port > 0 && port < 65536) return static_cast<int>(port);
    }
    return CHECKTOOL_DEFAULT_WEB_PORT;
}
