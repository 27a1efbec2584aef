#include "tools/lab/self_signed.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>

namespace {

void add_name(X509_NAME* name, const char* field, const char* value) {
    X509_NAME_add_entry_by_txt(name, field, MBSTRING_ASC, reinterpret_cast<const unsigned char*>(value), -1,
                               -1, 0);
}

// Fills a version 3 certificate valid from an hour ago for a week, for `common_name` of
// `organisation`, with `key` as its public key.
bool describe(X509* certificate, EVP_PKEY* key, long serial, const char* common_name,
              const char* organisation) {
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), serial);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 7 * 24 * 3600);
    X509_NAME* name = X509_get_subject_name(certificate);
    add_name(name, "CN", common_name);
    add_name(name, "O", organisation);
    return X509_set_pubkey(certificate, key) == 1;
}

bool mark_as_authority(X509* certificate) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension =
        X509V3_EXT_conf_nid(nullptr, &context, NID_basic_constraints, "critical,CA:TRUE");
    const bool added = extension && X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

}  // namespace

bool make_self_signed(SelfSigned& made) {
    made.key.reset(EVP_EC_gen("P-256"));
    made.certificate.reset(X509_new());
    X509* certificate = made.certificate.get();
    if (!made.key || !certificate) return false;
    if (!describe(certificate, made.key.get(), 1, "127.0.0.1", "product lab")) return false;
    X509_set_issuer_name(certificate, X509_get_subject_name(certificate));
    return X509_sign(certificate, made.key.get(), EVP_sha256()) > 0;
}

bool make_inspection_issued(SelfSigned& made, std::string& authority_pem) {
    SelfSigned authority;
    authority.key.reset(EVP_EC_gen("P-256"));
    authority.certificate.reset(X509_new());
    made.key.reset(EVP_EC_gen("P-256"));
    made.certificate.reset(X509_new());
    if (!authority.key || !authority.certificate || !made.key || !made.certificate) return false;
    X509* issuer = authority.certificate.get();
    if (!describe(issuer, authority.key.get(), 1, kInspectionAuthorityName, "product lab inspection") ||
        !mark_as_authority(issuer))
        return false;
    X509_set_issuer_name(issuer, X509_get_subject_name(issuer));
    if (X509_sign(issuer, authority.key.get(), EVP_sha256()) <= 0) return false;

    X509* certificate = made.certificate.get();
    if (!describe(certificate, made.key.get(), 2, "127.0.0.1", "product lab")) return false;
    X509_set_issuer_name(certificate, X509_get_subject_name(issuer));
    if (X509_sign(certificate, authority.key.get(), EVP_sha256()) <= 0) return false;

    BIO* text = BIO_new(BIO_s_mem());
    if (!text || PEM_write_bio_X509(text, issuer) != 1) {
        BIO_free(text);
        return false;
    }
    char* data = nullptr;
    const long size = BIO_get_mem_data(text, &data);
    authority_pem.assign(data, static_cast<std::size_t>(size));
    BIO_free(text);
    return true;
}
