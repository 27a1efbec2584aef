#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sys/user_identity.h"

// Replaces private values in text by stable tokens: IPv4 and IPv6 addresses ("ip-1"), MAC addresses
// ("mac-1"), e-mail addresses ("email-1"), the user's home folder at the start of a path ("home-1"),
// the host name ("host-1"), the login ("user-1") and the full name ("name-1"). One value keeps its
// token for the life of the object, whatever its spelling (letter case, IPv6 shortening, MAC
// separators), so that one bundle can be read as a whole. Loopback and unspecified addresses, the
// all-zero and broadcast MAC addresses, and dotted version numbers after "version" or "ver" name
// nobody and stay. Text is treated as bytes: only ASCII patterns and whole UTF-8 values are replaced,
// so multi-byte characters are never cut. Not for two threads at once.
class Redactor {
public:
    struct Token {
        std::string token;
        std::string value;  // the first spelling met
    };

    explicit Redactor(const UserIdentity& identity);

    std::string redact(std::string_view text);
    // Every token handed out so far, in the order they were first used.
    const std::vector<Token>& tokens() const { return handed_out; }
    // {"ip-1": "192.0.2.7", ...}: what the customer keeps to answer questions about the bundle.
    std::string map_json() const;

private:
    struct Literal {
        std::string value;
        const char* kind;
    };

    const std::string& token_for(const char* kind, const std::string& key, std::string_view spelling);
    // Length of the private value starting at i (0 when none), with its kind and normalised key.
    size_t match_at(std::string_view text, size_t i, const char*& kind, std::string& key) const;

    std::vector<Literal> literals;         // longest first, so that the host name wins over a login inside it
    std::map<std::string, size_t> by_key;  // kind + key -> index in handed_out
    std::map<std::string, int> counts;     // per kind
    std::vector<Token> handed_out;
};
