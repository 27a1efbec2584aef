// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "sys/program_main.h"
#include "sys/win/wide_text.h"

std::vector<std::string> program_arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    // Without the UTF-16 command line the narrow arguments are all there is.
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) arguments.push_back(narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}
