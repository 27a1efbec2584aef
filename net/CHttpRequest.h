#pragma once

#include <string>
#include <vector>

// One synchronous HTTP request on the caller's thread. Never throws and never shows anything:
// every outcome is a status number and a response text.
//
// status after Send: the HTTP status of the final answer (redirects are followed), or -1 for an
// unusable host or a download file that could not be written, 405 for an unknown method, 0 when
// the status could not be read, or the WinINet error number of a failed exchange (12002 time-out,
// 12007 name not resolved, 12029 cannot connect, ...), the same on every platform.
class CHttpRequest {
public:
    static constexpr int kDefaultTimeoutMs = 30000;

    // Each caller header line that does not end in CR LF gets one, in the caller's list as well.
    CHttpRequest(std::string host, int port, std::string path, std::string method, bool use_https,
                 std::vector<std::string>* headers = nullptr, std::string body = {},
                 std::string download_path = {});

    void Send();
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

    int status = -1;
    std::string response;

private:
    bool prepare();
};
