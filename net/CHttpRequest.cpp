#include "net/CHttpRequest.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>

#include "net/host_name.h"
#include "net/http_body_sink.h"
#include "net/proxy_setting.h"
#include "net/tls_trust.h"
#include "sys/error_text.h"
#include "sys/exe_facts.h"

namespace {

using Clock = std::chrono::steady_clock;

// WinINet numbers, reported on every platform.
constexpr int kInternalError = 12004;
constexpr int kTimeout = 12002;
constexpr int kInvalidUrl = 12005;
constexpr int kNameNotResolved = 12007;
constexpr int kCannotConnect = 12029;
constexpr int kConnectionAborted = 12030;
constexpr int kConnectionReset = 12031;
constexpr int kInvalidServerResponse = 12152;
constexpr int kRedirectFailed = 12156;
constexpr int kSecureChannelError = 12157;

constexpr char kContentTypeLine[] = "Content-Type: application/json; charset=utf-8\r\n";
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

void ensure_line_end(std::string& line) {
    if (!line.ends_with("\r\n")) line += "\r\n";
}

std::size_t character_count(const std::string& text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

void remove_all(std::string& text, const std::string& what) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
}

// What one exchange saw, shared with libcurl's callbacks.
struct Exchange {
    CURL* easy = nullptr;
    const std::string* download_path = nullptr;
    std::size_t max_body_bytes = 0;
    int timeout_ms = 0;
    Clock::time_point last_activity = Clock::now();
    curl_off_t last_up = 0;
    curl_off_t last_down = 0;
    bool idle_too_long = false;
    bool saw_location = false;
    bool final_headers_done = false;
    std::optional<HttpBodySink> body;
    bool body_refused = false;

    void touch() { last_activity = Clock::now(); }

    long response_code() const {
        long code = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    void begin_body() {
        if (body) return;
        if (!download_path->empty()) {
            const std::string folder = split_path(*download_path, 1);
            if (!folder.empty()) create_folder(folder);
        }
        curl_off_t length = -1;
        curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        body.emplace(*download_path, length, download_path->empty() ? max_body_bytes : 0);
    }
};

size_t on_header(char* data, size_t, size_t size, void* user) {
    Exchange& exchange = *static_cast<Exchange*>(user);
    exchange.touch();
    const std::string line(data, size);
    if (line.starts_with("HTTP/")) {
        exchange.saw_location = false;
        exchange.final_headers_done = false;
    } else if (line.size() >= 9 &&
               std::equal(line.begin(), line.begin() + 9, "location:", [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == b;
               })) {
        exchange.saw_location = true;
    } else if (line == "\r\n" || line == "\n") {
        const long code = exchange.response_code();
        const bool redirect_follows = code >= 300 && code < 400 && exchange.saw_location;
        exchange.final_headers_done = code >= 200 && !redirect_follows;
    }
    return size;
}

size_t on_body(char* data, size_t, size_t size, void* user) {
    Exchange& exchange = *static_cast<Exchange*>(user);
    exchange.touch();
    // Only the body of a 200 answer is kept; any other is read and dropped.
    if (exchange.response_code() != 200) return size;
    exchange.begin_body();
    if (!exchange.body->write(data, size)) {
        exchange.body_refused = true;
        return 0;
    }
    return size;
}

// The time-out limits every stretch of inactivity; the whole transfer has its own limit besides.
int on_progress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
    Exchange& exchange = *static_cast<Exchange*>(user);
    if (down != exchange.last_down || up != exchange.last_up) {
        exchange.last_down = down;
        exchange.last_up = up;
        exchange.touch();
    }
    const auto idle =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - exchange.last_activity);
    exchange.idle_too_long = idle.count() > exchange.timeout_ms;
    return exchange.idle_too_long ? 1 : 0;
}

int wininet_error(CURLcode result, const Exchange& exchange) {
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
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR: {
            long os_error = 0;
            curl_easy_getinfo(exchange.easy, CURLINFO_OS_ERRNO, &os_error);
            return os_error == ECONNRESET || os_error == 10054 ? kConnectionReset : kConnectionAborted;
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

// Failures that end the reading of a body whose headers have arrived: what came so far counts,
// as it does when a read of the body fails. A time-out is never one of them: a body cut off by a
// limit is a failed request, not a short answer.
bool ends_body(CURLcode result) {
    return result == CURLE_PARTIAL_FILE || result == CURLE_RECV_ERROR;
}

void initialise_library() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

curl_slist* header_list(const std::vector<std::string>& headers) {
    // No accept types, like the original request.
    curl_slist* list = curl_slist_append(nullptr, "Accept:");
    for (const std::string& text : headers) {
        // One entry may hold several lines.
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            if (end > start) {
                curl_slist* longer = curl_slist_append(list, text.substr(start, end - start).c_str());
                if (!longer) break;
                list = longer;
            }
            start = end + 2;
        }
    }
    return list;
}

}  // namespace

CHttpRequest::CHttpRequest(std::string host_, int port_, std::string path_, std::string method_,
                           bool use_https_, std::vector<std::string>* headers_, std::string body_,
                           std::string download_path_)
    : host(std::move(host_)),
      port(port_),
      path(std::move(path_)),
      method(std::move(method_)),
      use_https(use_https_),
      body(std::move(body_)),
      download_path(std::move(download_path_)) {
    if (headers_) {
        for (std::string& line : *headers_) {
            ensure_line_end(line);
            headers.push_back(line);
        }
    }
}

void CHttpRequest::Reset() {
    status = -1;
    body_too_large = false;
    transport = {};
    body.clear();
    response.clear();
    download_path.clear();
}

bool CHttpRequest::prepare() {
    if (host.starts_with("http://") || port == 80) {
        use_https = false;
        remove_all(host, "http://");
    } else if (host.starts_with("https://") || port == 443) {
        use_https = true;
        remove_all(host, "https://");
    }
    if (!path.starts_with("/")) path.insert(0, "/");
    if (character_count(host) < 7) {
        response = "Invalid IP address = " + host;
        status = -1;
        return false;
    }
    if (port < 1) port = use_https ? 443 : 80;
    if (method.empty()) method = "GET";
    std::transform(method.begin(), method.end(), method.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (method != "GET" && method != "PUT" && method != "POST" && method != "DELETE") {
        status = 405;
        response = "Unknown HTTP Request method(\"" + method + "\")";
        return false;
    }
    return true;
}

void CHttpRequest::Send() {
    const auto start = Clock::now();
    if (!prepare()) return;

    initialise_library();
    std::unique_ptr<CURL, EasyCloser> easy(curl_easy_init());
    if (!easy) {
        status = kInternalError;
        response = "InternetOpen() failed.";
        return;
    }

    // Part by part, so that a host holding "/", "@" or the like is refused rather than read as
    // some other address.
    std::unique_ptr<CURLU, UrlCloser> parsed(curl_url());
    const std::string port_text = std::to_string(port);
    if (!parsed ||
        curl_url_set(parsed.get(), CURLUPART_SCHEME, use_https ? "https" : "http", 0) != CURLUE_OK ||
        curl_url_set(parsed.get(), CURLUPART_HOST, host.c_str(), 0) != CURLUE_OK ||
        curl_url_set(parsed.get(), CURLUPART_PORT, port_text.c_str(), 0) != CURLUE_OK ||
        curl_url_set(parsed.get(), CURLUPART_PATH, path.c_str(), 0) != CURLUE_OK) {
        response = "hInternetConnect() failed.";
        status = kInvalidUrl;
        return;
    }

    headers.insert(headers.begin(), kContentTypeLine);
    for (std::string& line : headers) ensure_line_end(line);
    std::unique_ptr<curl_slist, ListCloser> header_lines(header_list(headers));

    Exchange exchange;
    exchange.easy = easy.get();
    exchange.download_path = &download_path;
    exchange.max_body_bytes = max_body_bytes;
    exchange.timeout_ms = timeout_ms;
    const int limit_ms = std::max(timeout_ms, 1);

    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_CURLU, parsed.get());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_USERAGENT, "request_url");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    // Any server certificate is accepted, whatever its issuer, name or dates; whether it verifies is
    // only recorded.
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
    TrustVerdict verdict;
    if (use_https) {
        curl_easy_setopt(h, CURLOPT_CERTINFO, 1L);
        ask_for_trust_verdict(h, verdict, trust_file);
    }
    // Empty means no proxy, whatever the environment says: the request goes exactly the way it reports.
    transport.proxy = proxy_for(use_https ? "https" : "http", host);
    curl_easy_setopt(h, CURLOPT_PROXY, transport.proxy.c_str());
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limit_ms));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limit_ms) * kTotalTimeouts);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, on_progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &exchange);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, on_header);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, header_lines.get());

    const bool sends_body = !body.empty() || method == "POST" || method == "PUT";
    if (sends_body) {
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.c_str());
    }
    if (method != "POST" && (method != "GET" || sends_body))
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());

    // The name could never resolve: say so without asking a name server.
    const CURLcode result =
        is_reserved_invalid_name(host) ? CURLE_COULDNT_RESOLVE_HOST : curl_easy_perform(h);
    if (use_https) transport.certificate = presented_certificate(h, verdict);

    if (exchange.body_refused && exchange.body->too_large()) {
        status = 200;
        body_too_large = true;
        return;
    }
    if (exchange.body_refused) {
        status = -1;
        response = exchange.body->failure();
        return;
    }
    if (result != CURLE_OK && !(exchange.final_headers_done && ends_body(result))) {
        const int error = wininet_error(result, exchange);
        const long elapsed = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
        char text[512];
        std::snprintf(text, sizeof text, "HttpSendRequest failed. elapsed = %ldms. error code = %d(%s)",
                      elapsed, error, error_text(error).c_str());
        status = error;
        response = text;
        return;
    }
    const long code = exchange.response_code();
    if (code <= 0) {
        status = 0;
        response = "HttpQueryInfo(HTTP_QUERY_STATUS_CODE) failed.";
        return;
    }
    status = static_cast<int>(code);
    if (status != 200) return;
    exchange.begin_body();
    response = exchange.body->finish();
}
