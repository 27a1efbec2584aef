// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <io.h>
// clang-format on

#include <algorithm>

#include "sys/console_text.h"
#include "sys/win/wide_text.h"

namespace {

// The console behind the stream, or null when the stream is a pipe, a file or nothing.
HANDLE console_of(std::FILE* stream) {
    const int descriptor = _fileno(stream);
    if (descriptor < 0) return nullptr;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// Whether the handle leads somewhere (a window program started from Explorer has none).
bool usable(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

bool write_console_text(std::FILE* stream, const std::string& utf8) {
    const HANDLE console = console_of(stream);
    if (!console)
        return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size() && std::fflush(stream) == 0;
    // What the C library still holds goes first, so that the order stays.
    std::fflush(stream);
    const std::wstring text = widen(utf8);
    // Old consoles refuse large writes: a piece at a time.
    constexpr size_t kPiece = 8192;
    for (size_t at = 0; at < text.size();) {
        const DWORD size = static_cast<DWORD>(std::min(kPiece, text.size() - at));
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data() + at, size, &written, nullptr) || written == 0) return false;
        at += written;
    }
    return true;
}

void attach_parent_console() {
    const bool output = usable(STD_OUTPUT_HANDLE), error = usable(STD_ERROR_HANDLE);
    // Redirected both ways: the prompt has already given what it wants.
    if (output && error) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!output) std::freopen("CONOUT$", "w", stdout);
    if (!error) std::freopen("CONOUT$", "w", stderr);
}

bool is_terminal(std::FILE* stream) {
    return console_of(stream) != nullptr;
}
