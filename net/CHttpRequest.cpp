#include "net/CHttpRequest.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <cstdio>
#include <optional>

#include "net/host_name.h"
#include "net/http_body_sink.h"
#include "net/wininet_error.h"
#include "sys/error_text.h"
#include "sys/exe_facts.h"

namespace {

using Clock = std::chrono::steady_clock;

using namespace wininet_error;

constexpr char kContentTypeLine[] = "Content-Type: application/json; charset=utf-8\r\n";

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

// The header entries as single lines without their CR LF: one entry may hold several lines.
std::vector<std::string> single_lines(const std::vector<std::string>& headers) {
    std::vector<std::string> lines;
    for (const std::string& text : headers) {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            if (end > start) lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
    }
    return lines;
}

// The peer closing or resetting the connection ends a body whose head has arrived: what came so far
// counts. A time-out never does: a body cut off by a limit is a failed request, not a short answer.
bool ends_body(int error) {
    return error == kConnectionAborted || error == kConnectionReset;
}

// Keeps the body of a 200 answer; any other answer's body is read and dropped.
class BodyReceiver : public HttpExchangeReceiver {
public:
    BodyReceiver(const std::string& download_path, std::size_t max_body_bytes)
        : download_path(download_path), max_body_bytes(max_body_bytes) {}

    void on_final_answer(long status, std::int64_t announced_length) override {
        if (status != 200 || body) return;
        if (!download_path.empty()) {
            const std::string folder = split_path(download_path, 1);
            if (!folder.empty()) create_folder(folder);
        }
        body.emplace(download_path, announced_length, download_path.empty() ? max_body_bytes : 0);
    }

    bool on_body(const char* data, std::size_t size) override { return !body || body->write(data, size); }

    std::optional<HttpBodySink> body;

private:
    const std::string& download_path;
    std::size_t max_body_bytes;
};

long milliseconds_since(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
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

bool CHttpRequest::usable_address() {
    if (is_single_host(host) && port <= 65535) return true;
    response = "hInternetConnect() failed.";
    status = kInvalidUrl;
    return false;
}

void CHttpRequest::fail_sending(int error, Clock::time_point start) {
    char text[512];
    std::snprintf(text, sizeof text, "HttpSendRequest failed. elapsed = %ldms. error code = %d(%s)",
                  milliseconds_since(start), error, error_text(error).c_str());
    status = error;
    response = text;
}

void CHttpRequest::Send() {
    Send(http_exchange);
}

void CHttpRequest::Send(const HttpTransport& exchange) {
    const auto start = Clock::now();
    if (!prepare() || !usable_address()) return;

    headers.insert(headers.begin(), kContentTypeLine);
    for (std::string& line : headers) ensure_line_end(line);

    // The name could never resolve: say so without asking a name server.
    if (is_reserved_invalid_name(host)) {
        fail_sending(kNameNotResolved, start);
        return;
    }

    HttpExchangeRequest request;
    request.host = host;
    request.port = port;
    request.path = path;
    request.method = method;
    request.use_https = use_https;
    request.header_lines = single_lines(headers);
    request.body = body;
    request.sends_body = !body.empty() || method == "POST" || method == "PUT";
    request.idle_timeout_ms = std::max(timeout_ms, 1);
    request.total_timeout_ms =
        static_cast<int>(std::min<long long>(1LL * request.idle_timeout_ms * kTotalTimeouts, INT_MAX));
    request.trust_file = trust_file;
    request.stop = stop;

    BodyReceiver receiver(download_path, max_body_bytes);
    const HttpExchangeOutcome outcome = exchange(request, receiver);
    transport = outcome.facts;

    if (outcome.stopped_by_receiver && receiver.body && receiver.body->too_large()) {
        status = 200;
        body_too_large = true;
        return;
    }
    if (outcome.stopped_by_receiver) {
        status = -1;
        response = receiver.body ? receiver.body->failure() : std::string();
        return;
    }
    if (outcome.error != 0 && !(outcome.answer_arrived && ends_body(outcome.error))) {
        if (outcome.failed_step == HttpExchangeStep::send) {
            fail_sending(outcome.error, start);
            return;
        }
        status = outcome.error;
        response = outcome.failed_step == HttpExchangeStep::open ? "InternetOpen() failed."
                                                                 : "hInternetConnect() failed.";
        return;
    }
    if (outcome.status <= 0) {
        status = 0;
        response = "HttpQueryInfo(HTTP_QUERY_STATUS_CODE) failed.";
        return;
    }
    status = static_cast<int>(outcome.status);
    if (status != 200) return;
    // An answer the transport did not announce has brought no body.
    if (!receiver.body) receiver.on_final_answer(status, 0);
    response = receiver.body->finish();
}
