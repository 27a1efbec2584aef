#include "engine/result_meaning.h"

#include "engine/result_code.h"
#include "sys/error_text.h"

namespace {

struct Meaning {
    int code;
    const char* text;
};

constexpr Meaning kResultMeanings[] = {
    {RESULT_CANCELLED.code, "The user stopped the diagnosis while this check ran; its outcome is not final."},
    {RESULT_NOT_ADMIN.code,
     "The logged-on account has no administrator rights; installing or updating the product may fail."},
    {RESULT_NO_SERVER_INFO.code, "The check list named no usable server of this kind."},
    {RESULT_SOCKET_CREATE.code,
     "The system refused a network socket: a security program blocks the tool, or the system ran out of "
     "resources."},
    {RESULT_CONNECT.code,
     "The server did not accept a connection: a firewall or proxy blocks the port, the address does not "
     "resolve, "
     "or the server is down."},
    {RESULT_SEND_START.code,
     "The connection was cut when the start signal was sent: often a firewall or middlebox that drops "
     "unknown "
     "protocols."},
    {RESULT_RECV_START.code,
     "The relay did not answer the start signal in time: it is overloaded, or something in between holds the "
     "reply "
     "back."},
    {RESULT_BAD_REPLY.code,
     "Something other than the product's server answered (a proxy or another service on that port), or its "
     "reply "
     "could not be read."},
    {RESULT_CRYPT_INIT.code,
     "The key exchange failed: the server is not the product's relay, or a middlebox altered the traffic."},
};

constexpr Meaning kHttpMeanings[] = {
    {301, "Moved permanently: the server or a proxy redirects the request elsewhere."},
    {302, "Found: a redirect, often a captive portal or a login page of a proxy."},
    {307, "Temporary redirect: often a captive portal or a proxy's login page."},
    {400, "Bad request: the server or a proxy in between did not understand the request."},
    {401, "Unauthorized: the server asks for a login."},
    {403, "Forbidden: the server or a filtering proxy refuses access."},
    {404, "Not found: the address is served, but not this path; a wrong server or a proxy's own page."},
    {407, "Proxy authentication required: a proxy in between wants a login."},
    {408, "Request timeout: the server gave up waiting for the request."},
    {429, "Too many requests: the server or a proxy is limiting this PC."},
    {500, "Internal server error: the server failed; not a problem of this PC."},
    {502, "Bad gateway: a proxy or load balancer could not reach the server behind it."},
    {503, "Service unavailable: the server is down or overloaded."},
    {504, "Gateway timeout: a proxy or load balancer got no answer from the server behind it."},
};

template <size_t N>
const char* find_meaning(const Meaning (&table)[N], int code) {
    for (const Meaning& m : table)
        if (m.code == code) return m.text;
    return nullptr;
}

constexpr int kFirstHttpClientCode = 12000;
constexpr int kLastHttpClientCode = 12175;

bool is_http_status(int code) {
    return code >= 100 && code <= 599;
}

}  // namespace

std::string usual_meaning(int code) {
    if (const char* text = find_meaning(kResultMeanings, code)) return text;
    if (const char* text = find_meaning(kHttpMeanings, code)) return text;
    if (is_http_status(code)) {
        if (code >= 500) return "The server failed to answer the request (HTTP server error).";
        if (code >= 400) return "The server or a proxy refused the request (HTTP client error).";
        if (code >= 300)
            return "The request was redirected (HTTP redirect); a proxy or captive portal may be in between.";
        return "The server answered with an unexpected HTTP status.";
    }
    if (code >= kFirstHttpClientCode && code <= kLastHttpClientCode) {
        const std::string text = error_text(code);
        if (!is_unknown_error_text(text)) return text;
    }
    return {};
}

std::string result_code_message(int code, int message_id) {
    const std::string message = result_message(ResultCode{code, message_id});
    if (!message.empty()) return message;
    if (is_http_status(code)) return "HTTP status";
    if (code >= kFirstHttpClientCode && code <= kLastHttpClientCode) return "HTTP client error";
    return {};
}
