// What an HTTP request records about the way to its server: the certificate an HTTPS server
// presented, whether it verifies, and the proxy taken.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "net/CHttpRequest.h"
#include "tests/integration/lab_support.h"
#include "tests/regex_matchers.h"

using regex_matchers::MatchesRegex;
using ::testing::HasSubstr;

namespace {

CHttpRequest check_list_request(const ProductLab& lab) {
    CHttpRequest request("127.0.0.1", lab.port("web_https"), "download/checklist.json", "GET", true);
    request.timeout_ms = 5000;
    return request;
}

#ifndef _WIN32
// Sets proxy variables for one test and takes them away again.
class ProxyEnvironment {
public:
    ProxyEnvironment(const std::string& http_proxy, const std::string& no_proxy) {
        setenv("http_proxy", http_proxy.c_str(), 1);
        setenv("no_proxy", no_proxy.c_str(), 1);
    }
    ~ProxyEnvironment() {
        unsetenv("http_proxy");
        unsetenv("no_proxy");
    }
};
#endif

}  // namespace

TEST(TlsFacts, ACertificateFromAnInspectionAuthorityIsRecordedAndDoesNotVerify) {
    ProductLab lab;
    const std::string authority = lab.folder() + "/inspection-ca.pem";
    ASSERT_TRUE(lab.start(R"({"web": {"https_port": 0, "checklist": "{}", "certificate": "inspection_ca",
                                      "authority_file": ")" +
                          ProductLab::lab_path(authority) + R"("}})"))
        << lab.error();
    CHttpRequest request = check_list_request(lab);
    request.Send();
    EXPECT_EQ(request.status, 200) << "the check still accepts any certificate";
    ASSERT_TRUE(request.transport.certificate);
    const ServerCertificate& seen = *request.transport.certificate;
    EXPECT_THAT(seen.subject, HasSubstr("CN = 127.0.0.1"));
    EXPECT_THAT(seen.issuer, HasSubstr("CN = Lab Inspection CA"));
    EXPECT_THAT(seen.not_before, MatchesRegex("20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-9:]{8}Z"));
    EXPECT_LT(seen.not_before, seen.not_after);
    EXPECT_THAT(seen.sha256, MatchesRegex("[0-9a-f]{64}"));
    ASSERT_TRUE(seen.verified) << "the system's trust store was asked";
    EXPECT_FALSE(*seen.verified);
    EXPECT_EQ(seen.verify_error, "unable to get local issuer certificate");
    EXPECT_EQ(request.transport.proxy, "");

    CHttpRequest trusting = check_list_request(lab);
    trusting.trust_file = authority;
    trusting.Send();
    EXPECT_EQ(trusting.status, 200);
    ASSERT_TRUE(trusting.transport.certificate);
#ifdef _WIN32
    // WinINet always judges the chain by the system's store: the trust file changes nothing.
    EXPECT_EQ(trusting.transport.certificate->verified, std::optional<bool>(false));
    EXPECT_EQ(trusting.transport.certificate->verify_error, seen.verify_error);
#else
    EXPECT_EQ(trusting.transport.certificate->verified, std::optional<bool>(true))
        << "trusting the authority";
    EXPECT_EQ(trusting.transport.certificate->verify_error, "");
#endif
    EXPECT_EQ(trusting.transport.certificate->sha256, seen.sha256) << "the same certificate";
    ASSERT_TRUE(lab.stop());
}

TEST(TlsFacts, SelfSignedPlainAndFailedRequests) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(R"({"web": {"http_port": 0, "https_port": 0, "checklist": "{}"}})")) << lab.error();
    CHttpRequest self_signed = check_list_request(lab);
    self_signed.Send();
    ASSERT_TRUE(self_signed.transport.certificate);
    EXPECT_EQ(self_signed.transport.certificate->issuer, self_signed.transport.certificate->subject);
    EXPECT_EQ(self_signed.transport.certificate->verified, std::optional<bool>(false));
    EXPECT_EQ(self_signed.transport.certificate->verify_error, "self-signed certificate");

    CHttpRequest plain("http://127.0.0.1", lab.port("web_http"), "download/checklist.json", "GET", true);
    plain.Send();
    EXPECT_EQ(plain.status, 200);
    EXPECT_FALSE(plain.transport.certificate) << "no TLS, no certificate";

    self_signed.Reset();
    EXPECT_FALSE(self_signed.transport.certificate) << "Reset forgets the facts";
    ASSERT_TRUE(lab.stop());
    CHttpRequest refused = check_list_request(lab);
    refused.Send();
    EXPECT_EQ(refused.status, 12029);
    EXPECT_FALSE(refused.transport.certificate) << "nothing was presented";
}

TEST(ProxyFacts, TheSystemsProxyIsTakenAndNamedUnlessTheHostIsExcepted) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows takes the proxy from the user's Internet settings, not from the environment";
#else
    ProductLab lab;
    ASSERT_TRUE(lab.start(R"({"http": [{"name": "proxy", "steps": [{"status": 200, "body": "via proxy"}]},
                                       {"name": "api", "steps": [{"status": 200, "body": "direct"}]}]})"))
        << lab.error();
    const std::string proxy = "http://127.0.0.1:" + std::to_string(lab.port("proxy"));
    std::string via, direct;
    {
        ProxyEnvironment environment(proxy, "");
        CHttpRequest request("127.0.0.1", lab.port("api"), "x", "GET", false);
        request.Send();
        EXPECT_EQ(request.response, "via proxy");
        EXPECT_EQ(request.transport.proxy, proxy);
    }
    {
        ProxyEnvironment environment(proxy, "localhost,127.0.0.1");
        CHttpRequest request("127.0.0.1", lab.port("api"), "x", "GET", false);
        request.Send();
        EXPECT_EQ(request.response, "direct");
        EXPECT_EQ(request.transport.proxy, "");
    }
    ASSERT_TRUE(lab.stop());
    const auto& requests = lab.record()["http"];
    ASSERT_EQ(requests.Size(), 2u);
    EXPECT_STREQ(requests[0]["server"].GetString(), "proxy");
    EXPECT_EQ(std::string(requests[0]["path"].GetString()),
              "http://127.0.0.1:" + std::to_string(lab.port("api")) + "/x");
    EXPECT_STREQ(requests[1]["server"].GetString(), "api");
#endif
}
