#pragma once

#include <cstdio>
#include <string>

// Writes UTF-8 text to a standard stream (stdout or stderr). A console shows it in its own characters
// whatever its code page (Windows writes UTF-16 to it; a Korean console's code page is 949); a pipe or
// a file gets the UTF-8 bytes, which is what JSON must be. False when not all of it was written.
bool write_console_text(std::FILE* stream, const std::string& utf8);

// A window program started from a command prompt has no console of its own on Windows: its standard
// output and error then go to the prompt's console, unless they were redirected. Elsewhere they are
// already the terminal's; nothing to do.
void attach_parent_console();

// Whether the stream is a terminal (a console on Windows), where a line may be rewritten in place;
// false for a pipe, a file or nothing.
bool is_terminal(std::FILE* stream);
