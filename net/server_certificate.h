#pragma once

#include <optional>
#include <string>
#include <vector>

// What the server of an HTTPS request presented, for the engineer who reads why a check failed (a
// TLS-inspecting middlebox shows up as an unexpected issuer that does not verify).
struct ServerCertificate {
    std::string subject;
    std::string issuer;
    std::string not_before;  // UTC, as 2026-12-09T14:17:31Z
    std::string not_after;
    std::string sha256;  // of the DER encoding, lower-case hexadecimal
    // Whether the chain verifies against the system's trust store; empty when the store could not
    // be asked. The request itself accepts any certificate either way.
    std::optional<bool> verified;
    std::string verify_error;  // why it did not verify
};

// What a request learned about the way to its server.
struct HttpTransportFacts {
    // The proxy the request went through; empty: it went direct; "auto-config" (Windows): a setup
    // script chose, and which proxy is not known.
    std::string proxy;
    std::optional<ServerCertificate> certificate;
};

// A certificate from the TLS library's "Name:value" description lines (Subject, Issuer, Start date,
// Expire date, Cert); empty when the lines hold no subject.
std::optional<ServerCertificate> certificate_from_description(const std::vector<std::string>& lines);

// "Dec  9 14:17:31 2026 GMT" as "2026-12-09T14:17:31Z"; the text unchanged when it is not of that form.
std::string utc_time_text(const std::string& library_time);

// The lower-case hexadecimal SHA-256 of the DER inside a PEM certificate; empty when there is none.
std::string pem_sha256(const std::string& pem);
// The lower-case hexadecimal SHA-256 of a DER encoding; empty for an empty one.
std::string der_sha256(const std::string& der);
