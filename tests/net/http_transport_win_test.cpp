// The WinINet transport against a one-answer server on 127.0.0.1: what it sends, what it hands the
// receiver, and the WinINet number of a refused port.
#include <gtest/gtest.h>
#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "net/http_transport.h"

namespace {

// Listens on a free loopback port and answers one connection with a fixed reply.
class OneAnswerServer {
public:
    // trickle_ms above 0: after the reply, one more byte at that pace until the client leaves.
    explicit OneAnswerServer(std::string reply, int trickle_ms = 0)
        : reply(std::move(reply)), trickle_ms(trickle_ms) {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
        worker = std::thread([this] { serve(); });
    }
    ~OneAnswerServer() {
        stopping = true;
        closesocket(listener);  // ends a pending accept
        worker.join();
        WSACleanup();
    }
    int port = 0;
    std::string request;  // what arrived, up to the end of the headers and the announced body

private:
    void serve() {
        const SOCKET peer = accept(listener, nullptr, nullptr);
        if (peer == INVALID_SOCKET) return;
        char buffer[4096];
        while (!complete()) {
            const int got = recv(peer, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, got);
        }
        if (!reply.empty()) {
            send(peer, reply.data(), static_cast<int>(reply.size()), 0);
            while (trickle_ms > 0 && !stopping && send(peer, "x", 1, 0) == 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(trickle_ms));
        } else
            recv(peer, buffer, sizeof buffer, 0);  // silent until the client gives up
        shutdown(peer, SD_BOTH);
        closesocket(peer);
    }
    bool complete() const {
        const size_t end = request.find("\r\n\r\n");
        if (end == std::string::npos) return false;
        const size_t length_at = request.find("Content-Length: ");
        const size_t length = length_at == std::string::npos ? 0 : std::stoul(request.substr(length_at + 16));
        return request.size() >= end + 4 + length;
    }

    std::string reply;
    int trickle_ms;
    std::atomic<bool> stopping{false};
    SOCKET listener = INVALID_SOCKET;
    std::thread worker;
};

class Recorder : public HttpExchangeReceiver {
public:
    void on_final_answer(long code, std::int64_t length) override {
        status = code;
        announced = length;
        ++answers;
    }
    bool on_body(const char* data, std::size_t size) override {
        body.append(data, size);
        return body.size() < stop_after;
    }
    long status = 0;
    std::int64_t announced = -2;
    int answers = 0;
    std::string body;
    std::size_t stop_after = SIZE_MAX;
};

HttpExchangeRequest local(int port, const std::string& method, const std::string& path) {
    HttpExchangeRequest request;
    request.host = "127.0.0.1";
    request.port = port;
    request.method = method;
    request.path = path;
    request.idle_timeout_ms = 5000;
    return request;
}

}  // namespace

TEST(HttpTransportWin, PostsHeadersAndBodyAndHandsOverTheAnswer) {
    OneAnswerServer server("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello");
    HttpExchangeRequest request = local(server.port, "POST", "/api/check?x=1");
    request.header_lines = {"Content-Type: application/json; charset=utf-8", "X-Check: 한글"};
    request.body = "{\"a\":1}";
    request.sends_body = true;
    Recorder recorder;
    const HttpExchangeOutcome outcome = http_exchange(request, recorder);
    EXPECT_EQ(outcome.error, 0);
    EXPECT_EQ(outcome.status, 200);
    EXPECT_TRUE(outcome.answer_arrived);
    EXPECT_EQ(recorder.answers, 1);
    EXPECT_EQ(recorder.announced, 5);
    EXPECT_EQ(recorder.body, "hello");
    EXPECT_EQ(server.request.rfind("POST /api/check?x=1 HTTP/1.0\r\n", 0), 0u) << server.request;
    EXPECT_NE(server.request.find("Content-Type: application/json; charset=utf-8\r\n"), std::string::npos);
    EXPECT_NE(server.request.find("\r\n\r\n{\"a\":1}"), std::string::npos) << server.request;
}

TEST(HttpTransportWin, OtherStatusesAndAReceiverThatStops) {
    OneAnswerServer missing("HTTP/1.0 404 Not Found\r\n\r\nnope");
    Recorder not_found;
    EXPECT_EQ(http_exchange(local(missing.port, "GET", "/x"), not_found).status, 404);
    EXPECT_EQ(not_found.announced, -1) << "no length was announced";

    OneAnswerServer long_body("HTTP/1.0 200 OK\r\n\r\n" + std::string(100000, 'x'));
    Recorder stopping;
    stopping.stop_after = 1;
    const HttpExchangeOutcome outcome = http_exchange(local(long_body.port, "GET", "/"), stopping);
    EXPECT_TRUE(outcome.stopped_by_receiver);
    EXPECT_LT(stopping.body.size(), 100000u);
}

TEST(HttpTransportWin, ARefusedPortGivesItsWinInetNumber) {
    int closed_port = 0;
    {
        OneAnswerServer gone("HTTP/1.0 200 OK\r\n\r\n");
        closed_port = gone.port;
        Recorder ignored;
        http_exchange(local(closed_port, "GET", "/"), ignored);  // the one connection it takes
    }
    Recorder refused;
    const HttpExchangeOutcome outcome = http_exchange(local(closed_port, "GET", "/"), refused);
    EXPECT_EQ(outcome.error, 12029);
    EXPECT_FALSE(outcome.answer_arrived);
    EXPECT_EQ(refused.answers, 0);
}

TEST(HttpTransportWin, ABodyThatNeverEndsIsCutAtTheTotalBound) {
    // Each byte comes well within the idle time-out; only the bound on the whole can end this.
    OneAnswerServer endless("HTTP/1.0 200 OK\r\nContent-Length: 1000000000\r\n\r\n", 20);
    HttpExchangeRequest request = local(endless.port, "GET", "/");
    request.idle_timeout_ms = 5000;
    request.total_timeout_ms = 500;
    Recorder recorder;
    const auto start = std::chrono::steady_clock::now();
    const HttpExchangeOutcome outcome = http_exchange(request, recorder);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(outcome.error, 12002);
    EXPECT_TRUE(outcome.answer_arrived);
    EXPECT_FALSE(recorder.body.empty()) << "bytes were arriving";
    // Room for a loaded machine, yet far below the idle time-out the trickle keeps resetting.
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000));
}
