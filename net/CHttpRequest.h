#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "net/http_transport.h"
#include "net/server_certificate.h"

// One synchronous HTTP request on the caller's thread. Never throws and never shows anything:
// every outcome is a status number and a response text.
//
// status after Send: the HTTP status of the final answer (redirects are followed), or -1 for an
// unusable host or a download file that could not be written, 405 for an unknown method, 0 when
// the status could not be read, or the WinINet error number of a failed exchange (12002 time-out,
// 12007 name not resolved, 12029 cannot connect, ...), the same on every platform.
//
// Time: timeout_ms limits connecting and every stretch of silence after it, and the whole request
// (name lookup, connection, redirects, head and body) ends within kTotalTimeouts × timeout_ms, so a
// server that keeps sending a little, or that stops in the middle of a body, cannot hold it longer.
// A request cut off by either limit fails with 12002, also when part of a body had arrived.
class CHttpRequest {
public:
    using HttpTransport =
        std::function<HttpExchangeOutcome(const HttpExchangeRequest&, HttpExchangeReceiver&)>;

    static constexpr int kDefaultTimeoutMs = 30000;
    static constexpr int kTotalTimeouts = 2;

    // Each caller header line that does not end in CR LF gets one, in the caller's list as well.
    CHttpRequest(std::string host, int port, std::string path, std::string method, bool use_https,
                 std::vector<std::string>* headers = nullptr, std::string body = {},
                 std::string download_path = {});

    // Through the platform's HTTP stack.
    void Send();
    // Through another transport: the decisions around the exchange, without a network.
    void Send(const HttpTransport& exchange);
    // Ready for another attempt: keeps host, port, path, method, use_https, timeout and headers.
    void Reset();

    std::string host;
    int port;
    std::string path;
    std::string method;
    bool use_https;
    std::string body;
    int timeout_ms = kDefaultTimeoutMs;
    // Sending inserts the Content-Type line at the front every time, so it accumulates.
    std::vector<std::string> headers;
    std::string download_path;
    // Above 0: a 200 body in memory that announces or brings more bytes than this is not read on;
    // body_too_large then tells, with status 200 and an empty response.
    std::size_t max_body_bytes = 0;
    // Certificates to verify an HTTPS server's chain against instead of the system's trust store.
    std::string trust_file;
    // A stop request ends the request at once with status 12017 (cancelled).
    std::stop_token stop;

    int status = -1;
    std::string response;
    bool body_too_large = false;
    // The proxy used (from the system's settings) and, over HTTPS, the server's certificate with
    // whether it verifies; the request itself accepts any certificate.
    HttpTransportFacts transport;

private:
    bool prepare();
    bool usable_address();
    void fail_sending(int error, std::chrono::steady_clock::time_point start);
};
