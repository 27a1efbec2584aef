#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

// A certificate for 127.0.0.1, signed by its own key, made fresh at every start.
struct SelfSigned {
    struct KeyFree {
        void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    };
    struct CertificateFree {
        void operator()(X509* certificate) const { X509_free(certificate); }
    };
    std::unique_ptr<EVP_PKEY, KeyFree> key;
    std::unique_ptr<X509, CertificateFree> certificate;
};

bool make_self_signed(SelfSigned& made);

// The name of the separate authority that make_inspection_issued signs with, as a TLS-inspecting
// middlebox signs what it passes on.
inline constexpr char kInspectionAuthorityName[] = "Lab Inspection CA";

// A certificate for 127.0.0.1 issued by a fresh authority of that name; the authority's own
// certificate comes back as PEM text.
bool make_inspection_issued(SelfSigned& made, std::string& authority_pem);
