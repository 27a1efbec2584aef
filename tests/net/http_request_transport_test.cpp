// What the request decides around one exchange, against a scripted transport: what it hands down,
// and what each outcome becomes in status and response. No network.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/CHttpRequest.h"
#include "sys/error_text.h"

namespace {

// Plays one exchange: announces `status`, hands over `pieces`, then reports `outcome`.
struct ScriptedTransport {
    explicit ScriptedTransport(HttpExchangeOutcome outcome) : outcome(std::move(outcome)) {}
    HttpExchangeOutcome outcome;
    bool announce = true;
    std::int64_t announced_length = -1;
    std::vector<std::string> pieces;
    std::vector<HttpExchangeRequest> seen;

    CHttpRequest::HttpTransport as_transport() {
        return [this](const HttpExchangeRequest& request, HttpExchangeReceiver& receiver) {
            seen.push_back(request);
            HttpExchangeOutcome result = outcome;
            if (announce) receiver.on_final_answer(outcome.status, announced_length);
            for (const std::string& piece : pieces) {
                if (!receiver.on_body(piece.data(), piece.size())) {
                    result.stopped_by_receiver = true;
                    break;
                }
            }
            return result;
        };
    }
};

HttpExchangeOutcome answered(long status, int error = 0) {
    HttpExchangeOutcome outcome;
    outcome.status = status;
    outcome.answer_arrived = true;
    outcome.error = error;
    return outcome;
}

HttpExchangeOutcome failed(HttpExchangeStep step, int error) {
    HttpExchangeOutcome outcome;
    outcome.failed_step = step;
    outcome.error = error;
    return outcome;
}

}  // namespace

TEST(HttpRequestOverTransport, HandsDownTheCompletedRequestAndItsBounds) {
    ScriptedTransport transport(answered(204));
    std::vector<std::string> lines = {"X-One: 1", "X-Two: 2\r\nX-Three: 3\r\n"};
    CHttpRequest request("example.org", 443, "api", "post", false, &lines);
    request.timeout_ms = 700;
    request.trust_file = "/trust.pem";
    request.Send(transport.as_transport());
    ASSERT_EQ(transport.seen.size(), 1u);
    const HttpExchangeRequest& sent = transport.seen[0];
    EXPECT_EQ(sent.host, "example.org");
    EXPECT_EQ(sent.port, 443);
    EXPECT_TRUE(sent.use_https) << "port 443 means TLS";
    EXPECT_EQ(sent.path, "/api");
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.header_lines, (std::vector<std::string>{"Content-Type: application/json; charset=utf-8",
                                                           "X-One: 1", "X-Two: 2", "X-Three: 3"}));
    EXPECT_TRUE(sent.sends_body) << "a POST sends its body even when empty";
    EXPECT_EQ(sent.idle_timeout_ms, 700);
    EXPECT_EQ(sent.total_timeout_ms, CHttpRequest::kTotalTimeouts * 700);
    EXPECT_EQ(sent.trust_file, "/trust.pem");
    EXPECT_EQ(request.status, 204);

    CHttpRequest get("127.0.0.1", 8080, "", "GET", false);
    get.Send(transport.as_transport());
    EXPECT_FALSE(transport.seen[1].sends_body);
    EXPECT_EQ(transport.seen[1].path, "/");
}

TEST(HttpRequestOverTransport, AddressesThatCannotWorkNeverReachTheTransport) {
    ScriptedTransport transport(answered(200));
    for (const char* host : {"127.0.0.1/other", "user@127.0.0.1", "127.0.0.1:80", "127.0.0.1 x"}) {
        CHttpRequest request(host, 8080, "", "GET", false);
        request.Send(transport.as_transport());
        EXPECT_EQ(request.status, 12005) << host;
        EXPECT_EQ(request.response, "hInternetConnect() failed.") << host;
    }
    CHttpRequest too_far("127.0.0.1", 70000, "", "GET", false);
    too_far.Send(transport.as_transport());
    EXPECT_EQ(too_far.status, 12005);

    CHttpRequest placeholder("checklist.tarvo.invalid", 80, "", "GET", false);
    placeholder.Send(transport.as_transport());
    EXPECT_EQ(placeholder.status, 12007);
    EXPECT_TRUE(placeholder.response.starts_with("HttpSendRequest failed. elapsed = "))
        << placeholder.response;
    EXPECT_TRUE(transport.seen.empty());

    CHttpRequest bracketed("[0:0:0:0:0:0:0:1]:80", 8080, "", "GET", false);
    bracketed.Send(transport.as_transport());
    EXPECT_EQ(bracketed.status, 12005) << "a port belongs in the port field";
    CHttpRequest literal("[0:0:0:0:0:0:0:1]", 8080, "", "GET", false);
    literal.Send(transport.as_transport());
    EXPECT_EQ(literal.status, 200) << "an address in brackets is one host";
}

TEST(HttpRequestOverTransport, EachFailedStepHasItsOwnText) {
    struct Case {
        HttpExchangeStep step;
        int error;
        std::string text;
    };
    const Case cases[] = {{HttpExchangeStep::open, 12004, "InternetOpen() failed."},
                          {HttpExchangeStep::connect, 12005, "hInternetConnect() failed."}};
    for (const Case& c : cases) {
        ScriptedTransport transport(failed(c.step, c.error));
        transport.announce = false;
        CHttpRequest request("127.0.0.1", 8080, "", "GET", false);
        request.Send(transport.as_transport());
        EXPECT_EQ(request.status, c.error);
        EXPECT_EQ(request.response, c.text);
    }
    ScriptedTransport refused(failed(HttpExchangeStep::send, 12029));
    refused.announce = false;
    CHttpRequest request("127.0.0.1", 8080, "", "GET", false);
    request.Send(refused.as_transport());
    EXPECT_EQ(request.status, 12029);
    EXPECT_TRUE(request.response.starts_with("HttpSendRequest failed. elapsed = ")) << request.response;
    EXPECT_TRUE(request.response.ends_with("ms. error code = 12029(" + error_text(12029) + ")"))
        << request.response;

    ScriptedTransport unreadable(HttpExchangeOutcome{});
    unreadable.announce = false;
    CHttpRequest no_status("127.0.0.1", 8080, "", "GET", false);
    no_status.Send(unreadable.as_transport());
    EXPECT_EQ(no_status.status, 0);
    EXPECT_EQ(no_status.response, "HttpQueryInfo(HTTP_QUERY_STATUS_CODE) failed.");
}

TEST(HttpRequestOverTransport, APeerEndsABodyButATimeOutFailsIt) {
    for (int error : {12030, 12031}) {
        ScriptedTransport cut(answered(200, error));
        cut.pieces = {"what ", "came"};
        CHttpRequest request("127.0.0.1", 8080, "", "GET", false);
        request.Send(cut.as_transport());
        EXPECT_EQ(request.status, 200) << error;
        EXPECT_EQ(request.response, "what came") << error;
    }
    ScriptedTransport timed_out(answered(200, 12002));
    timed_out.pieces = {"half"};
    CHttpRequest request("127.0.0.1", 8080, "", "GET", false);
    request.Send(timed_out.as_transport());
    EXPECT_EQ(request.status, 12002);
    EXPECT_TRUE(request.response.starts_with("HttpSendRequest failed.")) << request.response;

    ScriptedTransport reset_early(failed(HttpExchangeStep::send, 12031));
    reset_early.announce = false;
    CHttpRequest before_head("127.0.0.1", 8080, "", "GET", false);
    before_head.Send(reset_early.as_transport());
    EXPECT_EQ(before_head.status, 12031) << "no head, no answer";
}

TEST(HttpRequestOverTransport, OnlyA200BodyIsKeptAndItsLimitIsKept) {
    ScriptedTransport missing(answered(404));
    missing.pieces = {"not found page"};
    CHttpRequest not_found("127.0.0.1", 8080, "", "GET", false);
    not_found.Send(missing.as_transport());
    EXPECT_EQ(not_found.status, 404);
    EXPECT_EQ(not_found.response, "");

    ScriptedTransport big(answered(200));
    big.pieces = {std::string(600, 'x'), std::string(600, 'y')};
    CHttpRequest limited("127.0.0.1", 8080, "", "GET", false);
    limited.max_body_bytes = 1000;
    limited.Send(big.as_transport());
    EXPECT_EQ(limited.status, 200);
    EXPECT_TRUE(limited.body_too_large);
    EXPECT_EQ(limited.response, "");

    ScriptedTransport silent(answered(200));
    silent.announce = false;
    CHttpRequest empty("127.0.0.1", 8080, "", "GET", false);
    empty.Send(silent.as_transport());
    EXPECT_EQ(empty.status, 200) << "an answer that was never announced has an empty body";
    EXPECT_EQ(empty.response, "");
}

TEST(HttpRequestOverTransport, TheTransportsFactsAreKeptUntilReset) {
    ScriptedTransport transport(answered(200));
    transport.outcome.facts.proxy = "http://proxy.example:3128";
    transport.outcome.facts.certificate = ServerCertificate{"CN = a", "CN = b", "", "", "", false, "x"};
    CHttpRequest request("127.0.0.1", 443, "", "GET", true);
    request.Send(transport.as_transport());
    EXPECT_EQ(request.transport.proxy, "http://proxy.example:3128");
    ASSERT_TRUE(request.transport.certificate);
    EXPECT_EQ(request.transport.certificate->issuer, "CN = b");
    request.Reset();
    EXPECT_EQ(request.transport.proxy, "");
    EXPECT_FALSE(request.transport.certificate);
}
