#include "sys/program_main.h"

#include <exception>

#include "sys/console_text.h"

int run_program_main(int argc, char** argv, const char* name,
                     const std::function<int(const std::vector<std::string>&)>& body) {
    std::string what;
    try {
        return body(program_arguments(argc, argv));
    } catch (const std::exception& error) {
        what = error.what();
    } catch (...) {
        what = "an exception of an unknown type";
    }
    try {
        write_console_text(stderr, std::string(name) + ": unexpected failure: " + what + "\n");
    } catch (...) {
        // Out of memory for the message: the status still tells.
    }
    return kUnexpectedFailureStatus;
}
