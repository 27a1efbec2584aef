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
