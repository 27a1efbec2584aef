#include <unistd.h>

#include "sys/console_text.h"

bool write_console_text(std::FILE* stream, const std::string& utf8) {
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size() && std::fflush(stream) == 0;
}

void attach_parent_console() {}

bool is_terminal(std::FILE* stream) {
    const int descriptor = fileno(stream);
    return descriptor >= 0 && isatty(descriptor) == 1;
}
