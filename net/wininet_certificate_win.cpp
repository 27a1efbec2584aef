// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <wincrypt.h>
#include <wininet.h>
// clang-format on

#include <cstdio>
#include <string>

#include "net/wininet_certificate.h"
#include "sys/win/wide_text.h"

namespace {

// "C = KR, O = Lab, CN = 127.0.0.1": the order and the spacing the other platform's TLS library
// gives, so that a row reads the same on both.
std::string name_text(CERT_NAME_BLOB* name) {
    constexpr DWORD kStyle = CERT_X500_NAME_STR | CERT_NAME_STR_REVERSE_FLAG | CERT_NAME_STR_NO_QUOTING_FLAG;
    const DWORD size = CertNameToStrW(X509_ASN_ENCODING, name, kStyle, nullptr, 0);
    if (size <= 1) return {};
    std::wstring text(size, L'\0');
    CertNameToStrW(X509_ASN_ENCODING, name, kStyle, text.data(), size);
    text.resize(size - 1);
    std::string spaced;
    bool in_key = true;
    for (const char c : narrow(text)) {
        if (in_key && c == '=') {
            spaced += " = ";
            in_key = false;
            continue;
        }
        if (c == ',') in_key = true;
        spaced += c;
    }
    return spaced;
}

std::string utc_text(const FILETIME& time) {
    SYSTEMTIME utc{};
    if (!FileTimeToSystemTime(&time, &utc)) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", utc.wYear, utc.wMonth, utc.wDay,
                  utc.wHour, utc.wMinute, utc.wSecond);
    return text;
}

// Why a chain does not verify, in the words the other platform's TLS library uses.
std::string trust_error_text(DWORD errors, DWORD chain_length) {
    if (errors & CERT_TRUST_IS_NOT_TIME_VALID) return "certificate has expired";
    if (errors & CERT_TRUST_IS_REVOKED) return "certificate revoked";
    if (errors & CERT_TRUST_IS_NOT_SIGNATURE_VALID) return "certificate signature failure";
    if (errors & CERT_TRUST_IS_PARTIAL_CHAIN) return "unable to get local issuer certificate";
    if (errors & CERT_TRUST_IS_UNTRUSTED_ROOT)
        return chain_length <= 1 ? "self-signed certificate" : "self-signed certificate in certificate chain";
    char text[64];
    std::snprintf(text, sizeof text, "certificate chain does not verify (0x%08lX)",
                  static_cast<unsigned long>(errors));
    return text;
}

}  // namespace

std::optional<ServerCertificate> wininet_presented_certificate(void* request) {
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    DWORD size = sizeof chain;
    if (!InternetQueryOptionW(request, INTERNET_OPTION_SERVER_CERT_CHAIN_CONTEXT, &chain, &size) || !chain)
        return std::nullopt;
    std::optional<ServerCertificate> certificate;
    if (chain->cChain > 0 && chain->rgpChain[0]->cElement > 0) {
        const CERT_SIMPLE_CHAIN& simple = *chain->rgpChain[0];
        PCCERT_CONTEXT server = simple.rgpElement[0]->pCertContext;
        certificate.emplace();
        certificate->subject = name_text(&server->pCertInfo->Subject);
        certificate->issuer = name_text(&server->pCertInfo->Issuer);
        certificate->not_before = utc_text(server->pCertInfo->NotBefore);
        certificate->not_after = utc_text(server->pCertInfo->NotAfter);
        certificate->sha256 = der_sha256(
            std::string(reinterpret_cast<const char*>(server->pbCertEncoded), server->cbCertEncoded));
        // Revocation is not looked up on the other platform either.
        const DWORD errors = chain->TrustStatus.dwErrorStatus &
                             ~(CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION);
        certificate->verified = errors == CERT_TRUST_NO_ERROR;
        if (errors != CERT_TRUST_NO_ERROR)
            certificate->verify_error = trust_error_text(errors, simple.cElement);
    }
    CertFreeCertificateChain(chain);
    return certificate;
}
