#pragma once

#include <string>
#include <string_view>

class Redactor;

// Redacts text that arrives in pieces as if it had come whole: a value cut between two pieces is
// still found, and the context before a piece still counts. Holds back only what a value could still
// need (a few hundred bytes, more for a long home folder), so a log of any size takes little memory.
class RedactionStream {
public:
    explicit RedactionStream(Redactor& redactor) : redactor(redactor) {}

    // Appends to out the redacted text of everything that can be decided so far.
    void write(std::string_view piece, std::string& out);
    // Appends the rest.
    void finish(std::string& out);

private:
    Redactor& redactor;
    std::string pending;  // the look-behind, then what is not yet redacted
    size_t from = 0;      // where in pending the text not yet redacted starts
};
