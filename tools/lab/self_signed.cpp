#include "tools/lab/self_signed.h"

#include <openssl/x509v3.h>

bool make_self_signed(SelfSigned& made) {
    made.key.reset(EVP_EC_gen("P-256"));
    made.certificate.reset(X509_new());
    X509* certificate = made.certificate.get();
    if (!made.key || !certificate) return false;
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 7 * 24 * 3600);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("product lab"), -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    return X509_set_pubkey(certificate, made.key.get()) == 1 &&
           X509_sign(certificate, made.key.get(), EVP_sha256()) > 0;
}
