#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string_view>

#include "net/tls_trust.h"
#include "sys/fs_path.h"

namespace {

int verdict_index() {
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

// Trust stores by the file (or folder) they were read from. Reading the system's store takes a
// good part of a second, so each is read once and shared by every handshake; they live as long as
// the process.
X509_STORE* shared_store(const std::string& file, const std::string& folder) {
    static std::mutex lock;
    static std::map<std::string, X509_STORE*> stores;
    const std::lock_guard<std::mutex> guard(lock);
    const std::string key = file + '\n' + folder;
    const auto found = stores.find(key);
    if (found != stores.end()) return found->second;
    X509_STORE* store = X509_STORE_new();
    const bool loaded = store && ((!file.empty() && X509_STORE_load_file(store, file.c_str()) == 1) ||
                                  (!folder.empty() && X509_STORE_load_path(store, folder.c_str()) == 1));
    if (!loaded) {
        X509_STORE_free(store);
        store = nullptr;
    }
    stores.emplace(key, store);
    return store;
}

bool read_whole(const std::string& path, std::string& text) {
    std::ifstream file(fs_path(path), std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    text = content.str();
    return file.good() || file.eof();
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

// Runs for every new TLS connection of the handle, before its handshake.
CURLcode prepare_context(CURL*, void* context, void* user) {
    auto* verdict = static_cast<TrustVerdict*>(user);
    X509_STORE* store = verdict->store;
    *verdict = TrustVerdict{};
    verdict->store = store;
    auto* ssl_context = static_cast<SSL_CTX*>(context);
    if (verdict_index() < 0 || SSL_CTX_set_ex_data(ssl_context, verdict_index(), verdict) != 1)
        return CURLE_OK;
    SSL_CTX_set1_cert_store(ssl_context, store);
    SSL_CTX_set_verify(ssl_context, SSL_VERIFY_PEER, record_and_accept);
    verdict->asked = true;
    return CURLE_OK;
}

}  // namespace

void ask_for_trust_verdict(CURL* easy, TrustVerdict& verdict, const std::string& trust_file) {
    verdict = {};
    // The context handed to the callback is OpenSSL's only when the library runs on OpenSSL.
    const curl_version_info_data* library = curl_version_info(CURLVERSION_NOW);
    if (!library || !library->ssl_version ||
        std::string_view(library->ssl_version).substr(0, 8) != "OpenSSL/")
        return;
    std::string file = trust_file;
    std::string folder;
    if (file.empty()) {
        char* system_file = nullptr;
        char* system_folder = nullptr;
        curl_easy_getinfo(easy, CURLINFO_CAINFO, &system_file);
        curl_easy_getinfo(easy, CURLINFO_CAPATH, &system_folder);
        if (system_file) file = system_file;
        if (system_folder) folder = system_folder;
    }
    verdict.store = shared_store(file, folder);
    if (!verdict.store) return;
    // The library itself still accepts any certificate: it neither reads a store nor refuses.
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, &verdict);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, prepare_context);
}

bool trust_also(CURL* easy, const std::string& authority_file) {
    std::string extra;
    if (!read_whole(authority_file, extra) || extra.empty()) return false;
    // The library's default folder stays in use; its default file is replaced by that file with the
    // extra certificates after it.
    std::string trusted;
    char* system_file = nullptr;
    curl_easy_getinfo(easy, CURLINFO_CAINFO, &system_file);
    if (system_file) read_whole(system_file, trusted);
    trusted += "\n" + extra;
    curl_blob blob{trusted.data(), trusted.size(), CURL_BLOB_COPY};
    return curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &blob) == CURLE_OK;
}
