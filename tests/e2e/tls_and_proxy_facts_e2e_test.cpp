// checktool-cli --json tells, for the check list and every HTTP check, the certificate the server
// presented and the proxy taken.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <map>
#include <string>

#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"

using ::testing::HasSubstr;

namespace {

const std::string kCli = std::string(CHECKTOOL_BINARY_DIR) + "/cli/checktool-cli";

// Runs the CLI against the lab's HTTPS web server and parses what it printed.
bool run_cli(const ProductLab& lab, const std::map<std::string, std::string>& environment,
             rapidjson::Document& json, std::string& out) {
    ChildProcess cli;
    if (!cli.start(
            {kCli, "--web-host", "127.0.0.1", "--web-port", std::to_string(lab.port("web_https")), "--json"},
            environment))
        return false;
    out = cli.read_rest();
    cli.wait();
    return !json.Parse(out.c_str()).HasParseError() && json.IsObject();
}

const char* kInspectedWeb = R"("certificate": "inspection_ca")";

}  // namespace

TEST(TlsAndProxyFactsThroughTheCli, TheCheckListsCertificateAndTheChecksProxy) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows takes the proxy from its Internet settings, not from http_proxy";
#endif
    ProductLab lab;
    std::string scenario = lab_scenario(lab_check_list(R"("web": ["127.0.0.1:{web}"])"),
                                        R"("http": [{"name": "web", "steps": [{"status": 200}]},
                                                    {"name": "proxy", "steps": [{"status": 200}]}])");
    scenario.insert(scenario.find("\"checklist\""), std::string(kInspectedWeb) + ", ");
    ASSERT_TRUE(lab.start(scenario)) << lab.error();
    const std::string proxy = "http://127.0.0.1:" + std::to_string(lab.port("proxy"));
    rapidjson::Document json;
    std::string out;
    ASSERT_TRUE(run_cli(
        lab, {{"http_proxy", proxy}, {"https_proxy", ""}, {"all_proxy", ""}, {"no_proxy", ""}}, json, out))
        << out;

    const auto& tls = json["checklist_tls"];
    ASSERT_TRUE(tls.IsObject()) << out;
    EXPECT_THAT(tls["issuer"].GetString(), HasSubstr("Lab Inspection CA"));
    EXPECT_THAT(tls["subject"].GetString(), HasSubstr("127.0.0.1"));
    EXPECT_EQ(std::string(tls["sha256"].GetString()).size(), 64u);
    EXPECT_FALSE(tls["verified"].GetBool());
    EXPECT_STREQ(tls["verify_error"].GetString(), "unable to get local issuer certificate");
    EXPECT_FALSE(json["checklist_proxy"]["used"].GetBool()) << "https goes direct: only http_proxy is set";

    const auto& items = json["items"];
    ASSERT_EQ(items.Size(), 2u);
    EXPECT_TRUE(items[0]["tls"].IsNull()) << "the account check makes no request";
    EXPECT_TRUE(items[0]["proxy"].IsNull());
    EXPECT_EQ(items[1]["result"].GetInt(), 0);
    EXPECT_TRUE(items[1]["tls"].IsNull()) << "plain HTTP presents no certificate";
    EXPECT_TRUE(items[1]["proxy"]["used"].GetBool());
    EXPECT_EQ(items[1]["proxy"]["address"].GetString(), proxy);
    ASSERT_TRUE(lab.stop());
    int through_proxy = 0;
    for (const auto& request : lab.record()["http"].GetArray())
        if (std::string(request["server"].GetString()) == "proxy") ++through_proxy;
    EXPECT_EQ(through_proxy, 10) << "every try of the web check went through the proxy";
}

TEST(TlsAndProxyFactsThroughTheCli, AnHttpsCheckOnPort443RecordsItsCertificate) {
    if (!running_as_root()) GTEST_SKIP() << "binding port 443 needs root";
    ProductLab lab;
    if (!lab.start(R"({"web": {"https_port": 443, "certificate": "inspection_ca", "checklist": )" +
                   lab_check_list(R"("web": ["https://127.0.0.1"])") + "}}"))
        GTEST_SKIP() << "port 443 is taken here: " << lab.error();
    rapidjson::Document json;
    std::string out;
    ASSERT_TRUE(run_cli(lab, {{"https_proxy", ""}, {"all_proxy", ""}}, json, out)) << out;
    const auto& items = json["items"];
    ASSERT_EQ(items.Size(), 2u);
    EXPECT_EQ(items[1]["result"].GetInt(), 404) << "the web server serves only the check list";
    ASSERT_TRUE(items[1]["tls"].IsObject()) << "a failed check still tells what the server presented";
    EXPECT_THAT(items[1]["tls"]["issuer"].GetString(), HasSubstr("Lab Inspection CA"));
    EXPECT_STREQ(items[1]["tls"]["sha256"].GetString(), json["checklist_tls"]["sha256"].GetString());
    EXPECT_FALSE(items[1]["proxy"]["used"].GetBool());
    ASSERT_TRUE(lab.stop());
}
