#include "engine/check_list.h"

#include <gtest/gtest.h>

#include "engine/CCheckHost.h"

TEST(ServerEntry, HostPortAndUrlForms) {
    auto e = parse_server_entry("10.0.0.5:7001");
    EXPECT_EQ(e.host, "10.0.0.5");
    EXPECT_EQ(e.port, 7001);
    e = parse_server_entry("http://web.example");
    EXPECT_EQ(e.host, "http://web.example");
    EXPECT_EQ(e.port, 80);
    e = parse_server_entry("http://web.example:8080");  // the first colon is the scheme's
    EXPECT_EQ(e.host, "http://web.example:8080");
    EXPECT_EQ(e.port, 80);
    e = parse_server_entry("https://api.example");
    EXPECT_EQ(e.port, 443);
    EXPECT_FALSE(parse_server_entry("bare.example").usable());
    EXPECT_FALSE(parse_server_entry("host:0").usable());
    EXPECT_FALSE(parse_server_entry("host:-4").usable());
    EXPECT_FALSE(parse_server_entry(":7001").usable());
    EXPECT_FALSE(parse_server_entry("HTTP://upper.example").usable()) << "the scheme compares in lower case";
    EXPECT_EQ(parse_server_entry("host:7002abc").port, 7002) << "leading digits";
    EXPECT_FALSE(parse_server_entry("host:99999999999").usable());
}

namespace {

const char* kValid = R"({
  "product title": "Quenmora SE Customer",
  "product path agent": "/opt/agent",
  "product path viewer": "/opt/viewer",
  "agent log path": "/var/log/agent",
  "web": ["http://www.example"],
  "session": ["relay.example:7002", "bare.example", "https://secure.example"],
  "gateway": "10.0.0.1:7001",
  "extra": 1
})";

}  // namespace

TEST(ParseCheckList, BuildsGroupsInServerKindOrder) {
    ProductProfile profile;
    CheckGroups groups;
    std::string message;
    ASSERT_TRUE(parse_check_list(kValid, profile, groups, message)) << message;
    EXPECT_EQ(profile.product_title, "Quenmora SE Customer");
    EXPECT_EQ(profile.family.style, 7);
    EXPECT_EQ(profile.product_path_agent_web, "");
    EXPECT_EQ(profile.viewer_log_path, "");
    ASSERT_EQ(groups.size(), 3u) << "account, session, web; the gateway string adds nothing";
    EXPECT_EQ(groups[0][0].name, "계정 권한");
    EXPECT_EQ(groups[0][0].handler, &CCheckHost::check_admin_account);
    ASSERT_EQ(groups[1].size(), 2u);
    EXPECT_EQ(groups[1][0].name, "세션 서버");
    EXPECT_EQ(groups[1][0].port, 7002);
    EXPECT_EQ(groups[1][1].host, "https://secure.example");
    EXPECT_EQ(groups[1][1].port, 443);
    EXPECT_TRUE(groups[1][1].relay_flag);
    EXPECT_EQ(groups[1][1].kind_index, 3);
    EXPECT_EQ(groups[2][0].name, "웹 서버");
    EXPECT_FALSE(groups[2][0].relay_flag);
    EXPECT_EQ(groups[2][0].handler, &CCheckHost::check_server);
}

TEST(ParseCheckList, ReportsTheFirstMissingRequiredMember) {
    struct {
        const char* json;
        const char* message;
    } cases[] = {
        {"{", "checklist.json 파일이 올바른 json 형태가 아닙니다."},
        {"{}", "\"product title\" is empty."},
        {R"({"product title": "Dravi"})", "\"product path agent\" is empty."},
        {R"({"product title": "Dravi", "product path agent": "a"})", "\"product path viewer\" is empty."},
        {R"({"product title": "Dravi", "product path agent": "a", "product path viewer": "v"})",
         "\"agent log path\" is empty."},
        {R"({"product title": 5, "product path agent": "a"})", "\"product title\" is empty."},
        {R"(["product title"])", "\"product title\" is empty."},
    };
    for (const auto& c : cases) {
        ProductProfile profile;
        CheckGroups groups;
        std::string message;
        EXPECT_FALSE(parse_check_list(c.json, profile, groups, message)) << c.json;
        EXPECT_EQ(message, c.message) << c.json;
    }
}

TEST(ParseCheckList, NoServerMembersLeavesTheAccountCheckOnly) {
    ProductProfile profile;
    CheckGroups groups;
    std::string message;
    ASSERT_TRUE(parse_check_list(
        R"({"product title": "Nostrel", "product path agent": "a", "product path viewer": "v",
            "agent log path": "l", "api": [], "web": [5, null, "nohost"]})",
        profile, groups, message));
    ASSERT_EQ(groups.size(), 1u);
}

TEST(ParseCheckList, DeeplyNestedAndOversizedLists) {
    const std::string required =
        R"("product title": "Dravi", "product path agent": "a", "product path viewer": "v",
        "agent log path": "l")";
    constexpr int kDepth = 300000;
    ProductProfile profile;
    CheckGroups groups;
    std::string message;
    EXPECT_FALSE(
        parse_check_list(std::string(kDepth, '[') + std::string(kDepth, ']'), profile, groups, message));
    EXPECT_EQ(message, "\"product title\" is empty.");
    const std::string deep_extra = "{" + required + R"(, "extra": )" + std::string(kDepth, '[') +
                                   std::string(kDepth, ']') + R"(, "web": ["127.0.0.1:80"]})";
    ASSERT_TRUE(parse_check_list(deep_extra, profile, groups, message)) << message;
    EXPECT_EQ(groups.size(), 2u);

    // Blanks are valid JSON, so only the size can refuse these.
    const std::string padded = "{" + required + "}";
    std::string largest = padded + std::string(kMaxCheckListBytes - padded.size(), ' ');
    EXPECT_TRUE(parse_check_list(largest, profile, groups, message)) << message;
    largest += ' ';
    EXPECT_FALSE(parse_check_list(largest, profile, groups, message));
    EXPECT_EQ(message, "checklist.json 파일이 너무 큽니다.\n(최대 4 MiB)");
}
