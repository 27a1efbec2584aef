#include "net/server_certificate.h"

#include <gtest/gtest.h>

#include <map>

#include "net/proxy_setting.h"

namespace {

// A certificate made with OpenSSL's command line; its SHA-256 fingerprint as that tool prints it.
const char* kPem = R"(-----BEGIN CERTIFICATE-----
MIIBezCCASGgAwIBAgIUdlhB8vtjL3XgdctNBEJ+QNqXYC0wCgYIKoZIzj0EAwIw
EjEQMA4GA1UEAwwHVGVzdCBDQTAeFw0yNjEyMDkxNDE3MzFaFw0yNjEyMTAxNDE3
MzFaMBQxEjAQBgNVBAMMCTEyNy4wLjAuMTBZMBMGByqGSM49AgEGCCqGSM49AwEH
A0IABBKzsbXesTeXNoF0W/N3jhPMLPeDd8XGnarpmOUXo81KU/Fon9fUbzmBXxcH
Z5O7WP/KNLQSQJmfb67afVeKpMOjUzBRMA8GA1UdEQQIMAaHBH8AAAEwHQYDVR0O
BBYEFO0pjA0np4IltTltAPm8mgNwrZAHMB8GA1UdIwQYMBaAFIUuKHMGp1psNcb6
QYMMatDO4X+BMAoGCCqGSM49BAMCA0gAMEUCICpkkQrvqUvGz7aPcKkO3qn96pJT
hJ5XYzgszbsMQfmqAiEAwdCn0tU3yEtFOr7ML41WY9kBUJpJlXYZ1U9yG5C2djs=
-----END CERTIFICATE-----
)";
const char* kFingerprint = "ca91ba14177ae1b775b94c04871a329b117a00348844f6cf5b4ada13d9030e37";

EnvironmentLookup environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> const char* {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : found->second.c_str();
    };
}

}  // namespace

TEST(ServerCertificate, ReadsTheLibrarysDescriptionOfTheServersCertificate) {
    const auto certificate = certificate_from_description(
        {"Subject:CN = 127.0.0.1", "Issuer:CN = Test CA", "Version:2", "Start date:Dec  9 14:17:31 2026 GMT",
         "Expire date:Jan 10 04:05:06 2027 GMT", std::string("Cert:") + kPem});
    ASSERT_TRUE(certificate);
    EXPECT_EQ(certificate->subject, "CN = 127.0.0.1");
    EXPECT_EQ(certificate->issuer, "CN = Test CA");
    EXPECT_EQ(certificate->not_before, "2026-12-09T14:17:31Z");
    EXPECT_EQ(certificate->not_after, "2027-01-10T04:05:06Z");
    EXPECT_EQ(certificate->sha256, kFingerprint);
    EXPECT_FALSE(certificate->verified) << "only the trust store says";

    EXPECT_FALSE(certificate_from_description({"Version:2", "Cert:"})) << "no subject, no certificate";
}

TEST(ServerCertificate, OddTimesAndBrokenPemsAreKeptOrLeftEmpty) {
    EXPECT_EQ(utc_time_text("Feb 29 00:00:00 2028 GMT"), "2028-02-29T00:00:00Z");
    EXPECT_EQ(utc_time_text("20261209141731Z"), "20261209141731Z");
    EXPECT_EQ(utc_time_text("Foo  9 14:17:31 2026 GMT"), "Foo  9 14:17:31 2026 GMT");
    EXPECT_EQ(utc_time_text(""), "");
    EXPECT_EQ(pem_sha256("no certificate here"), "");
    EXPECT_EQ(pem_sha256("-----END CERTIFICATE----- -----BEGIN CERTIFICATE-----"), "");
    EXPECT_EQ(pem_sha256("-----BEGIN CERTIFICATE-----\n-----END CERTIFICATE-----"), "");
}

TEST(ProxySetting, SchemeVariablesFallbackAndExceptions) {
    const auto set = environment({{"http_proxy", "http://proxy.lan:3128"},
                                  {"HTTPS_PROXY", "http://secure.lan:8080"},
                                  {"no_proxy", " .internal.example, 10.0.0.7 "}});
    EXPECT_EQ(proxy_for("http", "api.example.com", set), "http://proxy.lan:3128");
    EXPECT_EQ(proxy_for("https", "api.example.com", set), "http://secure.lan:8080");
    EXPECT_EQ(proxy_for("http", "a.internal.example", set), "") << "a name covers the names under it";
    EXPECT_EQ(proxy_for("http", "INTERNAL.example", set), "") << "case does not matter";
    EXPECT_EQ(proxy_for("http", "notinternal.example", set), "http://proxy.lan:3128") << "only whole labels";
    EXPECT_EQ(proxy_for("http", "10.0.0.7", set), "");

    EXPECT_EQ(proxy_for("http", "h", environment({{"HTTP_PROXY", "http://cgi.lan"}})), "")
        << "the upper-case http variable is not trusted";
    EXPECT_EQ(proxy_for("https", "h", environment({{"ALL_PROXY", "socks5://all.lan"}})), "socks5://all.lan");
    EXPECT_EQ(proxy_for("http", "h", environment({{"all_proxy", "http://all.lan"}, {"NO_PROXY", "*"}})), "");
    EXPECT_EQ(proxy_for("http", "h", environment({{"http_proxy", ""}})), "") << "empty means unset";
    EXPECT_EQ(proxy_for("http", "h", environment({})), "");
}
