// <winsock2.h> must precede <windows.h>, and that the other system headers.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wininet.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <chrono>
#include <initializer_list>
#include <memory>
#include <stop_token>
#include <vector>

#include "net/deadline_watchdog.h"
#include "net/http_transport.h"
#include "net/proxy_list.h"
#include "net/wininet_certificate.h"
#include "net/wininet_error.h"
#include "sys/win/wide_text.h"

namespace {

using wininet_error::kInternalError;
using wininet_error::kOperationCancelled;
using wininet_error::kTimeout;
constexpr DWORD kReadSize = 8192;
constexpr std::size_t kWriteSize = 64 * 1024;

struct InternetCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// WinINet reports its own numbers through the thread's last error; a socket's number that comes
// through instead (Wine's reads do that) becomes WinINet's number for the same thing.
int last_internet_error() {
    switch (const DWORD error = GetLastError()) {
        case 0:
            return kInternalError;
        case WSAETIMEDOUT:
            return kTimeout;
        case WSAECONNABORTED:
            return wininet_error::kConnectionAborted;
        case WSAECONNRESET:
            return wininet_error::kConnectionReset;
        default:
            return static_cast<int>(error);
    }
}

void set_timeouts(HINTERNET handle, int milliseconds, std::initializer_list<DWORD> options) {
    DWORD value = static_cast<DWORD>(milliseconds > 0 ? milliseconds : 1);
    for (DWORD option : options) InternetSetOptionW(handle, option, &value, sizeof value);
}

// Any certificate is taken, whatever its issuer, name or dates.
void accept_any_certificate(HINTERNET request) {
    DWORD flags = 0;
    DWORD size = sizeof flags;
    InternetQueryOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &size);
    flags |= SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
             SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_REVOCATION |
             SECURITY_FLAG_IGNORE_WRONG_USAGE;
    InternetSetOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
}

// The final answer's header fields.
HttpHeaderFields answer_fields(HINTERNET request) {
    DWORD size = 0;
    HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr);
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    HttpHeaderFields fields;
    if (!HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, text.data(), &size, nullptr)) return fields;
    text.resize(size / sizeof(wchar_t));
    const std::string head = narrow(text);
    for (std::size_t start = 0; start < head.size();) {
        std::size_t end = head.find("\r\n", start);
        if (end == std::string::npos) end = head.size();
        if (auto field = header_field(std::string_view(head).substr(start, end - start)))
            fields.push_back(std::move(*field));
        start = end + 2;
    }
    return fields;
}

std::int64_t announced_length(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return -1;
    wchar_t* end = nullptr;
    const long long length = wcstoll(text, &end, 10);
    return end != text && length >= 0 ? length : -1;
}

// What the session's settings (the user's, or the environment's under Wine) say of the proxy: the
// static lists, and whether a setup script or auto-detection overrides them.
ProxyEvidence configured_proxy(HINTERNET session) {
    ProxyEvidence evidence;
    // INTERNET_PROXY_INFO as the wide call fills it (the header's type follows the build's character set).
    struct ProxyInfo {
        DWORD dwAccessType;
        const wchar_t* lpszProxy;
        const wchar_t* lpszProxyBypass;
    };
    DWORD size = 0;
    InternetQueryOptionW(session, INTERNET_OPTION_PROXY, nullptr, &size);
    std::vector<unsigned char> buffer(std::max<DWORD>(size, sizeof(ProxyInfo)));
    auto* info = reinterpret_cast<ProxyInfo*>(buffer.data());
    if (size >= sizeof(ProxyInfo) && InternetQueryOptionW(session, INTERNET_OPTION_PROXY, info, &size) &&
        info->dwAccessType == INTERNET_OPEN_TYPE_PROXY && info->lpszProxy) {
        evidence.proxy_list = narrow(info->lpszProxy);
        if (info->lpszProxyBypass) evidence.bypass_list = narrow(info->lpszProxyBypass);
    }
    // The flags WinINet acts on (not the dialog's), of the LAN settings.
    INTERNET_PER_CONN_OPTIONW flags{};
    flags.dwOption = INTERNET_PER_CONN_FLAGS;
    INTERNET_PER_CONN_OPTION_LISTW list{};
    list.dwSize = sizeof list;
    list.dwOptionCount = 1;
    list.pOptions = &flags;
    DWORD list_size = sizeof list;
    if (InternetQueryOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &list_size))
        evidence.auto_config =
            (flags.Value.dwValue & (PROXY_TYPE_AUTO_PROXY_URL | PROXY_TYPE_AUTO_DETECT)) != 0;
    return evidence;
}

// What the request's connection says of its way: whether it went to a proxy, and which one when its
// socket tells (Wine's does not).
void note_connection(HINTERNET exchange, ProxyEvidence& evidence) {
    INTERNET_DIAGNOSTIC_SOCKET_INFO info{};
    DWORD size = sizeof info;
    if (!InternetQueryOptionW(exchange, INTERNET_OPTION_DIAGNOSTIC_SOCKET_INFO, &info, &size)) return;
    evidence.connected = true;
    evidence.through_proxy = (info.Flags & IDSI_FLAG_PROXY) != 0;
    if (!evidence.through_proxy || info.Socket == 0 || info.Socket == INVALID_SOCKET) return;
    sockaddr_storage peer{};
    int peer_size = sizeof peer;
    char host[NI_MAXHOST] = {};
    char port[NI_MAXSERV] = {};
    if (getpeername(static_cast<SOCKET>(info.Socket), reinterpret_cast<sockaddr*>(&peer), &peer_size) != 0 ||
        getnameinfo(reinterpret_cast<sockaddr*>(&peer), peer_size, host, sizeof host, port, sizeof port,
                    NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return;
    const bool v6 = peer.ss_family == AF_INET6;
    evidence.proxy_address = (v6 ? "[" : "") + std::string(host) + (v6 ? "]:" : ":") + port;
}

std::string reported_proxy(const ProxyEvidence& evidence, const HttpExchangeRequest& request) {
    return proxy_reported(evidence, request.use_https ? "https" : "http", request.host);
}

bool add_header_line(HINTERNET exchange, const std::string& line) {
    const std::wstring wide = widen(line + "\r\n");
    return HttpAddRequestHeadersW(exchange, wide.c_str(), static_cast<DWORD>(wide.size()),
                                  HTTP_ADDREQ_FLAG_ADD);
}

// The head, then the body a piece at a time as its source gives it, then the end of the request.
BOOL send_streamed(HINTERNET exchange, HttpBodySource& source) {
    // By hand: the length HttpSendRequestEx takes cannot say more than 4 GiB.
    if (!add_header_line(exchange, "Content-Length: " + std::to_string(source.size()))) return FALSE;
    INTERNET_BUFFERSW buffers{};
    buffers.dwStructSize = sizeof buffers;
    if (!HttpSendRequestExW(exchange, &buffers, nullptr, 0, 0)) return FALSE;
    std::vector<char> piece(kWriteSize);
    for (std::int64_t sent = 0; sent < source.size();) {
        const std::int64_t got = source.read(
            piece.data(), static_cast<std::size_t>(std::min<std::int64_t>(kWriteSize, source.size() - sent)));
        if (got <= 0) {
            SetLastError(kInternalError);
            return FALSE;
        }
        DWORD written = 0;
        if (!InternetWriteFile(exchange, piece.data(), static_cast<DWORD>(got), &written) || written != got)
            return FALSE;
        sent += got;
        source.sent(sent);
    }
    return HttpEndRequestW(exchange, nullptr, 0, 0);
}

// Sends the opened request and hands its final answer to the receiver.
void carry(HINTERNET exchange, const HttpExchangeRequest& request,
           std::chrono::steady_clock::time_point deadline, HttpExchangeReceiver& receiver,
           HttpExchangeOutcome& outcome, ProxyEvidence& proxy) {
    // Each line is added on its own: headers handed to HttpSendRequest replace an earlier line of the
    // same name, and a repeated line must go out as often as the caller gave it.
    for (const std::string& line : request.header_lines) {
        if (!add_header_line(exchange, line)) {
            outcome.error = last_internet_error();
            return;
        }
    }
    const auto sending_since = std::chrono::steady_clock::now();
    const BOOL sent =
        request.streamed_body
            ? send_streamed(exchange, *request.streamed_body)
            : HttpSendRequestW(exchange, nullptr, 0,
                               request.sends_body ? const_cast<char*>(request.body.data()) : nullptr,
                               request.sends_body ? static_cast<DWORD>(request.body.size()) : 0);
    if (!sent) {
        outcome.error = last_internet_error();
        // A head that stays away for the whole receive time-out is reported as an aborted connection
        // by some WinINets (Wine's): it is a time-out all the same.
        if (outcome.error == wininet_error::kConnectionAborted &&
            std::chrono::steady_clock::now() - sending_since >=
                std::chrono::milliseconds(request.idle_timeout_ms))
            outcome.error = kTimeout;
        return;
    }
    note_connection(exchange, proxy);
    outcome.facts.proxy = reported_proxy(proxy, request);
    if (request.use_https) outcome.facts.certificate = wininet_presented_certificate(exchange);

    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(exchange, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return;
    outcome.status = static_cast<long>(status);
    outcome.answer_arrived = true;
    outcome.headers = answer_fields(exchange);
    receiver.on_final_answer(outcome.status, announced_length(exchange));

    // What has arrived, a piece at a time: a read of a full buffer would wait for all of it, however
    // slowly it comes, and a closed handle does not end such a wait everywhere (Wine). So no call
    // waits longer than one idle time-out, and the deadline is looked at between the pieces.
    char buffer[kReadSize];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            outcome.error = kTimeout;
            return;
        }
        // The next wait ends at the deadline at the latest.
        set_timeouts(exchange, static_cast<int>(std::min<long long>(left.count(), request.idle_timeout_ms)),
                     {INTERNET_OPTION_RECEIVE_TIMEOUT});
        DWORD available = 0;
        if (!InternetQueryDataAvailable(exchange, &available, 0, 0)) {
            outcome.error = last_internet_error();
            return;
        }
        DWORD got = 0;
        if (available > 0 &&
            !InternetReadFile(exchange, buffer, std::min<DWORD>(available, sizeof buffer), &got)) {
            outcome.error = last_internet_error();
            return;
        }
        if (got == 0) return;
        if (!receiver.on_body(buffer, got)) {
            outcome.stopped_by_receiver = true;
            return;
        }
    }
}

}  // namespace

HttpExchangeOutcome http_exchange(const HttpExchangeRequest& request, HttpExchangeReceiver& receiver) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(request.total_timeout_ms, 1));
    HttpExchangeOutcome outcome;
    // The system's proxy settings apply, as for every other program of the user.
    InternetHandle session(InternetOpenW(L"request_url", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) {
        outcome.error = last_internet_error();
        outcome.failed_step = HttpExchangeStep::open;
        return outcome;
    }
    ProxyEvidence proxy = configured_proxy(session.get());
    outcome.facts.proxy = reported_proxy(proxy, request);
    InternetHandle connection(InternetConnectW(session.get(), widen(request.host).c_str(),
                                               static_cast<INTERNET_PORT>(request.port), nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        outcome.error = last_internet_error();
        outcome.failed_step = HttpExchangeStep::connect;
        return outcome;
    }
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    // A redirect followed may switch between http and https.
    if (request.follow_redirects)
        flags |= INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP;
    else
        flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    // Unless the server must verify, its certificate is taken as it is, whatever its name and dates.
    if (!request.verify_server)
        flags |= INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID;
    if (request.use_https) flags |= INTERNET_FLAG_SECURE;
    InternetHandle exchange(
        HttpOpenRequestW(connection.get(), widen(request.method).c_str(), widen(request.path).c_str(),
                         request.http_1_1 ? L"HTTP/1.1" : L"HTTP/1.0", nullptr, nullptr, flags, 0));
    if (!exchange) {
        outcome.error = last_internet_error();
        return outcome;
    }
    // On the request itself: the session's time-outs do not reach it everywhere (Wine).
    set_timeouts(
        exchange.get(), request.idle_timeout_ms,
        {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT});
    if (!request.verify_server) accept_any_certificate(exchange.get());

    // WinINet's time-outs bound each wait, not the whole: closing the request from another thread
    // ends whatever call is blocked on it, at the deadline or at a stop request, whichever comes first
    // (and only once).
    HINTERNET handle = exchange.get();
    std::atomic<bool> closed{false};
    const auto close_once = [handle, &closed] {
        if (!closed.exchange(true)) InternetCloseHandle(handle);
    };
    bool expired = false;
    {
        std::stop_callback stop_closes(request.stop, close_once);
        DeadlineWatchdog watchdog(deadline, close_once);
        carry(handle, request, deadline, receiver, outcome, proxy);
        expired = watchdog.stop();
    }
    if (closed) {
        exchange.release();  // closed already
        outcome.error = request.stop.stop_requested() && !expired ? kOperationCancelled : kTimeout;
    }
    return outcome;
}

bool http_exchange_takes_extra_authorities() {
    return false;
}
