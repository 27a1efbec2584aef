#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <filesystem>
#include <string_view>
#include <system_error>

#include "net/tls_trust.h"

namespace {

int verdict_index() {
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

// Called for every certificate of the chain: records the first failure, then clears it so that the
// handshake goes on (any certificate is accepted, as before).
int record_and_accept(int preverified, X509_STORE_CTX* store) {
    auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* verdict =
        ssl ? static_cast<TrustVerdict*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), verdict_index()))
            : nullptr;
    if (verdict) {
        verdict->handshake = true;
        const int error = X509_STORE_CTX_get_error(store);
        if (!preverified && verdict->first_error == 0 && error != X509_V_OK) {
            verdict->first_error = error;
            verdict->error_text = X509_verify_cert_error_string(error);
        }
    }
    X509_STORE_CTX_set_error(store, X509_V_OK);
    return 1;
}

CURLcode prepare_context(CURL*, void* context, void* user) {
    auto* verdict = static_cast<TrustVerdict*>(user);
    *verdict = TrustVerdict{};
    verdict->asked = true;
    auto* ssl_context = static_cast<SSL_CTX*>(context);
    if (verdict_index() < 0 || SSL_CTX_set_ex_data(ssl_context, verdict_index(), verdict) != 1) {
        verdict->asked = false;
        SSL_CTX_set_verify(ssl_context, SSL_VERIFY_NONE, nullptr);
        return CURLE_OK;
    }
    SSL_CTX_set_verify(ssl_context, SSL_VERIFY_PEER, record_and_accept);
    return CURLE_OK;
}

bool readable(const char* path, bool folder) {
    std::error_code error;
    return path && *path &&
           (folder ? std::filesystem::is_directory(path, error)
                   : std::filesystem::is_regular_file(path, error));
}

}  // namespace

void ask_for_trust_verdict(CURL* easy, TrustVerdict& verdict, const std::string& trust_file) {
    verdict = {};
    // The context handed to the callback is OpenSSL's only when the library runs on OpenSSL.
    const curl_version_info_data* library = curl_version_info(CURLVERSION_NOW);
    if (!library || !library->ssl_version ||
        std::string_view(library->ssl_version).substr(0, 8) != "OpenSSL/")
        return;
    if (trust_file.empty()) {
        // Asking the library to verify with a store that is missing would fail every handshake.
        char* file = nullptr;
        char* folder = nullptr;
        curl_easy_getinfo(easy, CURLINFO_CAINFO, &file);
        curl_easy_getinfo(easy, CURLINFO_CAPATH, &folder);
        if (!readable(file, false) && !readable(folder, true)) return;
    } else if (!readable(trust_file.c_str(), false) ||
               curl_easy_setopt(easy, CURLOPT_CAINFO, trust_file.c_str()) != CURLE_OK) {
        return;
    }
    if (curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, &verdict) != CURLE_OK ||
        curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, prepare_context) != CURLE_OK)
        return;
    // The library verifies only when asked to; the callback above keeps any failure from counting.
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
}
