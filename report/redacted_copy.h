#pragma once

#include <string>

class Redactor;

// True when the file's first bytes hold a zero byte, as no text file does (and nearly every binary
// format, compressed archives included, does); also true when the file cannot be read.
bool looks_binary(const std::string& path);

// Writes the text of source through the redactor (unchanged without one) into destination, a file
// this call creates (never an existing file, never through a link). The text is handled a line at a
// time (a line running past a megabyte is cut at a blank, else at a character boundary), so a log of
// any size takes little memory. On failure nothing is left at destination.
bool write_redacted_copy(Redactor* redactor, const std::string& source, const std::string& destination);

// Replaces a text file the tool wrote by its redacted form. On failure the file is removed, since an
// unredacted file must not reach the bundle; false then.
bool redact_file_in_place(Redactor& redactor, const std::string& path);
