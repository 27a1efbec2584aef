#pragma once

#include <curl/curl.h>

#include <string>

struct x509_store_st;

// Lets the TLS library verify the server's chain against a trust store during the handshake without
// refusing a chain that fails: the first failure is recorded instead, and the request goes on as if
// any certificate were accepted. A new connection (a redirect) starts a new verdict.
struct TrustVerdict {
    x509_store_st* store = nullptr;  // the trust store asked, shared and never freed
    bool asked = false;              // the handshake's chain is checked against the store
    bool handshake = false;          // a chain was presented and verified
    int first_error = 0;             // 0: it verified
    std::string error_text;
};

// Sets the handle up for `verdict` with `trust_file` (empty: the system's trust store, read once per
// process). When this build cannot ask, or no store is found, leaves the handle as it was.
void ask_for_trust_verdict(CURL* easy, TrustVerdict& verdict, const std::string& trust_file);

// Makes the handle's handshake trust the certificates in `authority_file` (PEM) as well as the system's
// trust store (the library's default file and folder). False, leaving the handle as it was, when the
// file cannot be read.
bool trust_also(CURL* easy, const std::string& authority_file);
