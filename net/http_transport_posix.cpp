#include <curl/curl.h>
#include <openssl/x509_vfy.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>

#include "net/http_transport.h"
#include "net/proxy_setting.h"
#include "net/tls_trust.h"
#include "net/wininet_error.h"
#include "sys/ascii_text.h"

namespace {

using Clock = std::chrono::steady_clock;

using namespace wininet_error;

constexpr long kMaxRedirects = 10;

struct EasyCloser {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListCloser {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlCloser {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// What one exchange saw, shared with libcurl's callbacks.
struct Exchange {
    CURL* easy = nullptr;
    HttpExchangeReceiver* receiver = nullptr;
    HttpBodySource* source = nullptr;
    bool follows_redirects = true;
    bool verifies_server = false;
    int idle_timeout_ms = 0;
    Clock::time_point last_activity = Clock::now();
    curl_off_t last_up = 0;
    curl_off_t last_down = 0;
    bool idle_too_long = false;
    bool saw_location = false;
    bool final_headers_done = false;
    bool announced = false;
    bool stopped = false;
    HttpHeaderFields fields;  // of the answer whose head is arriving

    void touch() { last_activity = Clock::now(); }

    long response_code() const {
        long code = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    void announce() {
        if (announced) return;
        announced = true;
        curl_off_t length = -1;
        curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        receiver->on_final_answer(response_code(), length);
    }
};

size_t on_header(char* data, size_t, size_t size, void* user) {
    Exchange& exchange = *static_cast<Exchange*>(user);
    exchange.touch();
    const std::string line(data, size);
    if (line.starts_with("HTTP/")) {
        exchange.saw_location = false;
        exchange.final_headers_done = false;
        exchange.fields.clear();
    } else if (line == "\r\n" || line == "\n") {
        const long code = exchange.response_code();
        const bool redirect_follows =
            exchange.follows_redirects && code >= 300 && code < 400 && exchange.saw_location;
        exchange.final_headers_done = code >= 200 && !redirect_follows;
    } else if (auto field = header_field(line)) {
        if (ascii_lower(field->first) == "location") exchange.saw_location = true;
        exchange.fields.push_back(std::move(*field));
    }
    return size;
}

size_t on_body(char* data, size_t, size_t size, void* user) {
    Exchange& exchange = *static_cast<Exchange*>(user);
    exchange.touch();
    // The body of an answer that is followed elsewhere is nobody's business.
    if (!exchange.final_headers_done) return size;
    exchange.announce();
    if (!exchange.receiver->on_body(data, size)) {
        exchange.stopped = true;
        return 0;
    }
    return size;
}

size_t on_read(char* buffer, size_t, size_t capacity, void* user) {
    Exchange& exchange = *static_cast<Exchange*>(user);
    const std::int64_t got = exchange.source->read(buffer, capacity);
    return got >= 0 ? static_cast<size_t>(got) : CURL_READFUNC_ABORT;
}

// The time-out limits every stretch of inactivity; the whole transfer has its own limit besides.
int on_progress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
    Exchange& exchange = *static_cast<Exchange*>(user);
    if (up != exchange.last_up && exchange.source) exchange.source->sent(up);
    if (down != exchange.last_down || up != exchange.last_up) {
        exchange.last_down = down;
        exchange.last_up = up;
        exchange.touch();
    }
    const auto idle =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - exchange.last_activity);
    exchange.idle_too_long = idle.count() > exchange.idle_timeout_ms;
    return exchange.idle_too_long ? 1 : 0;
}

// Why the server's certificate was refused, in WinINet's words.
int refused_certificate(CURL* easy) {
    long verify_result = X509_V_OK;
    curl_easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verify_result);
    switch (verify_result) {
        // The chain verified: the library's own check of the name refused it.
        case X509_V_OK:
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH:
            return kCertificateNameInvalid;
        case X509_V_ERR_CERT_HAS_EXPIRED:
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return kCertificateDateInvalid;
        default:
            return kCertificateAuthorityInvalid;
    }
}

// curl_easy_perform that a stop request ends at once: the multi interface's wait is woken by it.
// Nothing when it was stopped.
std::optional<CURLcode> perform_until_stopped(CURL* h, const std::stop_token& stop) {
    CURLM* multi = curl_multi_init();
    if (!multi) return CURLE_OUT_OF_MEMORY;
    curl_multi_add_handle(multi, h);
    std::optional<CURLcode> result = CURLE_OK;
    {
        std::stop_callback wake(stop, [multi] { curl_multi_wakeup(multi); });
        for (int running = 1;;) {
            if (stop.stop_requested()) {
                result.reset();
                break;
            }
            if (curl_multi_perform(multi, &running) != CURLM_OK) {
                result = CURLE_OUT_OF_MEMORY;
                break;
            }
            if (running == 0) {
                int left = 0;
                const CURLMsg* done = curl_multi_info_read(multi, &left);
                result = done && done->msg == CURLMSG_DONE ? done->data.result : CURLE_OK;
                break;
            }
            // libcurl's own time-outs bound this wait; a second is its longest.
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
    }
    curl_multi_remove_handle(multi, h);
    curl_multi_cleanup(multi);
    return result;
}

int error_number(CURLcode result, const Exchange& exchange) {
    if (exchange.verifies_server && result == CURLE_PEER_FAILED_VERIFICATION)
        return refused_certificate(exchange.easy);
    switch (result) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return kNameNotResolved;
        case CURLE_COULDNT_CONNECT:
            return kCannotConnect;
        case CURLE_OPERATION_TIMEDOUT:
            return kTimeout;
        case CURLE_ABORTED_BY_CALLBACK:
            return exchange.idle_too_long ? kTimeout : kInternalError;
        case CURLE_SSL_CACERT_BADFILE:
            return kCertificateAuthorityInvalid;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_USE_SSL_FAILED:
        case CURLE_SSL_SHUTDOWN_FAILED:
            return kSecureChannelError;
        case CURLE_GOT_NOTHING:
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_BAD_CONTENT_ENCODING:
            return kInvalidServerResponse;
        // A body shorter than announced: the connection ended it early.
        case CURLE_PARTIAL_FILE:
            return kConnectionAborted;
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR: {
            long os_error = 0;
            curl_easy_getinfo(exchange.easy, CURLINFO_OS_ERRNO, &os_error);
            return os_error == ECONNRESET ? kConnectionReset : kConnectionAborted;
        }
        case CURLE_TOO_MANY_REDIRECTS:
            return kRedirectFailed;
        case CURLE_URL_MALFORMAT:
            return kInvalidUrl;
        default:
            return kInternalError;
    }
}

// The certificate the last TLS handshake presented, with the trust store's verdict on it.
std::optional<ServerCertificate> presented_certificate(CURL* easy, const TrustVerdict& verdict) {
    curl_certinfo* chain = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_CERTINFO, &chain) != CURLE_OK || !chain || chain->num_of_certs < 1)
        return std::nullopt;
    std::vector<std::string> lines;
    for (const curl_slist* line = chain->certinfo[0]; line; line = line->next) lines.emplace_back(line->data);
    std::optional<ServerCertificate> certificate = certificate_from_description(lines);
    if (certificate && verdict.asked && verdict.handshake) {
        certificate->verified = verdict.first_error == 0;
        certificate->verify_error = verdict.error_text;
    }
    return certificate;
}

void initialise_library() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

curl_slist* header_list(const std::vector<std::string>& lines) {
    // No accept types, like WinINet's request.
    curl_slist* list = curl_slist_append(nullptr, "Accept:");
    for (const std::string& line : lines) {
        curl_slist* longer = curl_slist_append(list, line.c_str());
        if (!longer) break;
        list = longer;
    }
    return list;
}

// Part by part, so that a host holding "/", "@" or the like is refused rather than read as some
// other address. The path and its query go out as given: a signed address breaks if re-encoded.
bool set_address(CURLU* url, const HttpExchangeRequest& request) {
    const std::string port_text = std::to_string(request.port);
    const std::size_t query_at = request.path.find('?');
    const std::string path = request.path.substr(0, query_at);
    return url && curl_url_set(url, CURLUPART_SCHEME, request.use_https ? "https" : "http", 0) == CURLUE_OK &&
           curl_url_set(url, CURLUPART_HOST, request.host.c_str(), 0) == CURLUE_OK &&
           curl_url_set(url, CURLUPART_PORT, port_text.c_str(), 0) == CURLUE_OK &&
           curl_url_set(url, CURLUPART_PATH, path.c_str(), 0) == CURLUE_OK &&
           (query_at == std::string::npos ||
            curl_url_set(url, CURLUPART_QUERY, request.path.c_str() + query_at + 1, 0) == CURLUE_OK);
}

void stream_body(CURL* h, Exchange& exchange, HttpBodySource& source) {
    exchange.source = &source;
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(source.size()));
    curl_easy_setopt(h, CURLOPT_READFUNCTION, on_read);
    curl_easy_setopt(h, CURLOPT_READDATA, &exchange);
    // Larger pieces than the default cost little memory and keep a fast line busy.
    curl_easy_setopt(h, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024);
}

}  // namespace

HttpExchangeOutcome http_exchange(const HttpExchangeRequest& request, HttpExchangeReceiver& receiver) {
    HttpExchangeOutcome outcome;
    initialise_library();
    std::unique_ptr<CURL, EasyCloser> easy(curl_easy_init());
    if (!easy) {
        outcome.error = kInternalError;
        outcome.failed_step = HttpExchangeStep::open;
        return outcome;
    }
    std::unique_ptr<CURLU, UrlCloser> url(curl_url());
    if (!set_address(url.get(), request)) {
        outcome.error = kInvalidUrl;
        outcome.failed_step = HttpExchangeStep::connect;
        return outcome;
    }
    std::unique_ptr<curl_slist, ListCloser> header_lines(header_list(request.header_lines));

    Exchange exchange;
    exchange.easy = easy.get();
    exchange.receiver = &receiver;
    exchange.idle_timeout_ms = request.idle_timeout_ms;
    exchange.follows_redirects = request.follow_redirects;
    exchange.verifies_server = request.verify_server;

    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_CURLU, url.get());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, request.follow_redirects ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION,
                     static_cast<long>(request.http_1_1 ? CURL_HTTP_VERSION_1_1 : CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_USERAGENT, "request_url");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    TrustVerdict verdict;
    if (request.use_https) curl_easy_setopt(h, CURLOPT_CERTINFO, 1L);
    if (request.verify_server) {
        if (!request.extra_authority_file.empty()) trust_also(h, request.extra_authority_file);
    } else {
        // Any server certificate is accepted, whatever its issuer, name or dates; whether it
        // verifies is only recorded.
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
        if (request.use_https) ask_for_trust_verdict(h, verdict, request.trust_file);
    }
    // Empty means no proxy, whatever the environment says: the request goes exactly the way it reports.
    outcome.facts.proxy = proxy_for(request.use_https ? "https" : "http", request.host);
    curl_easy_setopt(h, CURLOPT_PROXY, outcome.facts.proxy.c_str());
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max(request.idle_timeout_ms, 1)));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(std::max(request.total_timeout_ms, 1)));
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, on_progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &exchange);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, on_header);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, header_lines.get());
    if (request.streamed_body) {
        stream_body(h, exchange, *request.streamed_body);
    } else if (request.sends_body) {
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.c_str());
    }
    if (request.method != "POST" && (request.method != "GET" || request.sends_body || request.streamed_body))
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());

    const std::optional<CURLcode> result = perform_until_stopped(h, request.stop);
    if (request.use_https) outcome.facts.certificate = presented_certificate(h, verdict);
    // The progress callback may not have heard the last bytes go.
    curl_off_t uploaded = 0;
    if (request.streamed_body && curl_easy_getinfo(h, CURLINFO_SIZE_UPLOAD_T, &uploaded) == CURLE_OK &&
        uploaded != exchange.last_up)
        request.streamed_body->sent(uploaded);
    outcome.answer_arrived = exchange.final_headers_done;
    outcome.stopped_by_receiver = exchange.stopped;
    if (exchange.final_headers_done) outcome.headers = exchange.fields;
    if (exchange.stopped) return outcome;
    if (!result) {
        outcome.error = kOperationCancelled;
        return outcome;
    }
    if (*result != CURLE_OK) outcome.error = error_number(*result, exchange);
    // An answer without a body is announced once it is over.
    if (exchange.final_headers_done || (result == CURLE_OK && exchange.response_code() > 0))
        exchange.announce();
    outcome.status = exchange.response_code();
    return outcome;
}

bool http_exchange_takes_extra_authorities() {
    return true;
}
