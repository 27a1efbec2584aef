#pragma once

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "net/http_header_fields.h"
#include "net/server_certificate.h"

// One HTTP exchange through the platform's HTTP stack (WinINet on Windows, libcurl elsewhere). The
// portable request decides what to send and what the outcome means; the transport only carries it.
// By default redirects are followed and any server certificate is accepted, as the checks want.

// A request body read piece by piece as it goes out, so that it never has to be in memory whole.
class HttpBodySource {
public:
    virtual ~HttpBodySource() = default;
    // Announced as Content-Length; the body is never sent in chunks.
    virtual std::int64_t size() const = 0;
    // Copies up to `capacity` of the next bytes: how many, or -1 when they cannot be had (the
    // exchange then ends, failed).
    virtual std::int64_t read(char* buffer, std::size_t capacity) = 0;
    // How many bytes have gone to the server so far; on the exchange's thread, whenever it grows.
    virtual void sent(std::int64_t bytes) = 0;
};

struct HttpExchangeRequest {
    std::string host;  // a host name or dotted address, already checked
    int port = 80;
    std::string path;    // starts with "/"; may end in "?" and a query, sent as it is
    std::string method;  // GET, PUT, POST or DELETE
    bool use_https = false;
    std::vector<std::string> header_lines;  // each one line without its CR LF
    std::string body;
    bool sends_body = false;
    // Instead of `body`: a body streamed from its source (sends_body is then ignored).
    HttpBodySource* streamed_body = nullptr;
    bool http_1_1 = false;  // the checks speak HTTP/1.0
    bool follow_redirects = true;
    // Refuse a server whose certificate does not verify (issuer, name, dates) before anything of the
    // request goes out, instead of accepting any. The system's trust store decides, and on POSIX
    // also the certificates in extra_authority_file (WinINet asks only the system's store).
    bool verify_server = false;
    std::string extra_authority_file;
    int idle_timeout_ms = 30000;  // bounds every stretch of silence: connecting, sending, each read
    // Bounds the whole exchange (lookup, connection, redirects, head and body), however the peer
    // paces its bytes; reaching it fails the exchange with 12002, even in the middle of a body.
    int total_timeout_ms = 60000;
    // Certificates to judge the server's chain against instead of the system's trust store, where
    // the platform's stack lets a request choose (not WinINet, which always asks the system).
    std::string trust_file;
    // A stop request ends the exchange at once, failing it with 12017 (cancelled).
    std::stop_token stop;
};

// Told about the final answer (after redirects) as it arrives.
class HttpExchangeReceiver {
public:
    virtual ~HttpExchangeReceiver() = default;
    // Once, before any body bytes: the final status and the announced length (-1 when none).
    virtual void on_final_answer(long status, std::int64_t announced_length) = 0;
    // Body bytes of the final answer; false stops the exchange.
    virtual bool on_body(const char* data, std::size_t size) = 0;
};

// The step whose failure `error` reports, named after the WinINet call that fails there.
enum class HttpExchangeStep {
    open,     // InternetOpen: no session
    connect,  // InternetConnect: no connection handle (the address cannot be used)
    send,     // HttpSendRequest and everything after it
};

struct HttpExchangeOutcome {
    int error = 0;  // 0, or the WinINet number of what failed
    HttpExchangeStep failed_step = HttpExchangeStep::send;
    long status = 0;              // the final status; 0 when it could not be read
    bool answer_arrived = false;  // the final answer's head came before any failure
    bool stopped_by_receiver = false;
    HttpTransportFacts facts;  // the proxy taken and the certificate presented, as far as known
    // The final answer's header fields, names and values as received, in order.
    HttpHeaderFields headers;
};

HttpExchangeOutcome http_exchange(const HttpExchangeRequest& request, HttpExchangeReceiver& receiver);

// Whether this platform's stack trusts a request's extra_authority_file (not WinINet's).
bool http_exchange_takes_extra_authorities();
