#pragma once

#include <functional>
#include <string>
#include <vector>

// What a program ends with when something it did not foresee went wrong (an exception no one caught).
inline constexpr int kUnexpectedFailureStatus = 70;

// The program's arguments as UTF-8, its own name first. On Windows a narrow main() gets them in the
// ANSI code page, which has no room for most Hangul; they are read from the UTF-16 command line there.
std::vector<std::string> program_arguments(int argc, char** argv);

// The body of a program's main(): it gets the arguments as UTF-8 and returns the exit status. An
// exception it lets out is told on standard error ("<name>: unexpected failure: ...") and ends the
// program with kUnexpectedFailureStatus, never with an abort.
int run_program_main(int argc, char** argv, const char* name,
                     const std::function<int(const std::vector<std::string>&)>& body);
