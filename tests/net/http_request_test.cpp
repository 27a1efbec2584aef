#include "net/CHttpRequest.h"

#include <gtest/gtest.h>

#include "sys/error_text.h"

TEST(HttpRequest, ShortHostFailsBeforeAnyNetworkActivity) {
    CHttpRequest request("1.2.3", 80, "", "GET", false);
    request.Send();
    EXPECT_EQ(request.status, -1);
    EXPECT_EQ(request.response, "Invalid IP address = 1.2.3");
    EXPECT_EQ(request.headers.size(), 0u) << "nothing was prepared for sending";
}

TEST(HttpRequest, UnknownMethodIsRefusedUpperCased) {
    CHttpRequest request("127.0.0.1", 1, "x", "patch", false);
    request.Send();
    EXPECT_EQ(request.status, 405);
    EXPECT_EQ(request.response, "Unknown HTTP Request method(\"PATCH\")");
    EXPECT_EQ(request.path, "/x");
}

TEST(HttpRequest, SchemeComesFromTheHostPrefixOrTheStandardPorts) {
    CHttpRequest plain("http://127.0.0.1", 1, "", "", true);
    plain.Send();
    EXPECT_FALSE(plain.use_https);
    EXPECT_EQ(plain.host, "127.0.0.1");
    EXPECT_EQ(plain.method, "GET");

    CHttpRequest secure("https://127.0.0.1", 0, "", "GET", false);
    secure.Send();
    EXPECT_TRUE(secure.use_https);
    EXPECT_EQ(secure.host, "127.0.0.1");
    EXPECT_EQ(secure.port, 443) << "no port means the scheme's standard one";

    CHttpRequest by_port("127.0.0.1", 443, "", "GET", false);
    by_port.Send();
    EXPECT_TRUE(by_port.use_https);
}

TEST(HttpRequest, RefusedAndUnresolvableServersGiveWinInetNumbers) {
    // A seven-character dotted address is long enough to be tried (it means 127.0.0.1).
    CHttpRequest refused("127.0.1", 1, "", "GET", false);
    refused.Send();
    EXPECT_EQ(refused.status, 12029);
    EXPECT_TRUE(refused.response.starts_with("HttpSendRequest failed. elapsed = ")) << refused.response;
    EXPECT_TRUE(refused.response.ends_with("error code = 12029(" + error_text(12029) + ")")) << refused.response;

    CHttpRequest unresolvable("checklist.tarvo.invalid", 80, "", "GET", false);
    unresolvable.Send();
    EXPECT_EQ(unresolvable.status, 12007);
}

TEST(HttpRequest, HeaderLinesGetTheirLineEndsAndResetKeepsThem) {
    std::vector<std::string> lines = {"X-One: 1", "X-Two: 2\r\n"};
    CHttpRequest request("127.0.0.1", 1, "", "GET", false, &lines, "{}", "/tmp/x");
    EXPECT_EQ(lines[0], "X-One: 1\r\n") << "the caller's entry is completed too";
    EXPECT_EQ(request.headers, lines);
    request.Send();
    request.Reset();
    EXPECT_EQ(request.status, -1);
    EXPECT_TRUE(request.body.empty());
    EXPECT_TRUE(request.response.empty());
    EXPECT_TRUE(request.download_path.empty());
    ASSERT_EQ(request.headers.size(), 3u);
    EXPECT_EQ(request.headers[0], "Content-Type: application/json; charset=utf-8\r\n");
}
