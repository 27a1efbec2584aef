#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "report/address_patterns.h"
#include "sys/user_identity.h"

// Replaces private values in text by stable tokens: IPv4 and IPv6 addresses ("ip-1"), MAC addresses
// ("mac-1"), e-mail addresses ("email-1") in the notations of address_patterns.h; and by name the
// user's home folder at the start of a path ("home-1"), the host name ("host-1"), the domain of the
// host's full name ("domain-1"), the login ("user-1") and the full name ("name-1"), each also
// URL-encoded, JSON-escaped and, for a Windows path, with forward slashes (value_spellings.h). One
// value keeps its token for the life of the object, whatever its spelling (letter case, IPv6
// shortening, MAC notation, escapes), so that one bundle can be read as a whole. Loopback and
// unspecified addresses, the all-zero and broadcast MAC addresses and dotted quads after a version
// word name nobody and stay; so do this object's own tokens, when text passes a second time. Text is
// treated as bytes: only ASCII patterns and whole UTF-8 values are replaced, so multi-byte characters
// are never cut. Not for two threads at once.
class Redactor {
public:
    struct Token {
        std::string token;
        std::string value;  // the first spelling met
    };

    // Bytes before a piece of text that the patterns look back at ("build 1.0.0.7", "addr:fe80::1").
    static constexpr size_t kLookBehind = 96;

    explicit Redactor(const UserIdentity& identity);

    std::string redact(std::string_view text);
    // For text that comes in pieces (RedactionStream): redacts text from from on, appending it to
    // out, as far as no value can run past the end of text (to its end when at_end). Returns where it
    // stopped; the next call needs the text from there on, with kLookBehind bytes before it.
    size_t redact_part(std::string_view text, size_t from, bool at_end, std::string& out);

    // Every token handed out so far, in the order they were first used.
    const std::vector<Token>& tokens() const { return handed_out; }
    // {"ip-1": "192.0.2.7", ...}: what the customer keeps to answer questions about the bundle.
    std::string map_json() const;

private:
    struct Literal {
        std::string spelling;
        const char* kind;
        std::string key;    // the value in lower case, the same for all its spellings
        bool names_a_kind;  // the value is a token's word ("user"), so "user-1" is not the value again
    };

    bool match_at(std::string_view text, size_t i, ValueMatch& match) const;
    size_t match_literal(std::string_view text, size_t i, const Literal& literal) const;
    const std::string& token_for(const char* kind, const std::string& key, std::string_view spelling);

    std::vector<Literal> literals;  // longest first, so that the host name wins over a login inside it
    std::array<std::vector<uint16_t>, 256> literals_by_first_byte{};  // indexes, both letter cases
    std::array<bool, 256> may_start{};                                // bytes a value can start with
    size_t reach = kPatternReach;          // bytes past its start a match may look at
    std::map<std::string, size_t> by_key;  // kind + key -> index in handed_out
    std::map<std::string, int> counts;     // per kind
    std::vector<Token> handed_out;
};
