#include "report/redactor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include "report/redaction_stream.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

UserIdentity planted_identity() {
    return {"kiosk-07", "jkim", "Kim Jiwoo", "/home/jkim"};
}

}  // namespace

TEST(Redactor, OneValueKeepsOneTokenAcrossCallsAndSpellings) {
    Redactor r(planted_identity());
    EXPECT_EQ(r.redact("from 192.168.10.5 to 10.0.0.9"), "from ip-1 to ip-2");
    EXPECT_EQ(r.redact("again 192.168.10.5, MAC 00:1A:2B:3C:4D:5E"), "again ip-1, MAC mac-1");
    EXPECT_EQ(r.redact("00-1a-2b-3c-4d-5e and ::ffff:192.168.10.5"), "mac-1 and ip-1");
    EXPECT_EQ(r.redact("Mail JKim@Example.COM or jkim@example.com"), "Mail email-1 or email-1");
    EXPECT_EQ(r.redact("KIOSK-07 by JKIM"), "host-1 by user-1");
    EXPECT_EQ(r.redact("jkim-laptop jkim_x jkim2"), "user-1-laptop user-1_x jkim2");
    ASSERT_EQ(r.tokens().size(), 6u);
    EXPECT_EQ(r.tokens()[0].token, "ip-1");
    EXPECT_EQ(r.tokens()[0].value, "192.168.10.5");
    EXPECT_EQ(r.tokens()[3].value, "JKim@Example.COM") << "the first spelling met is kept";

    rapidjson::Document map;
    ASSERT_FALSE(map.Parse(r.map_json().c_str()).HasParseError()) << r.map_json();
    EXPECT_STREQ(map["ip-2"].GetString(), "10.0.0.9");
    EXPECT_STREQ(map["mac-1"].GetString(), "00:1A:2B:3C:4D:5E");
    EXPECT_STREQ(map["user-1"].GetString(), "JKIM");

    Redactor fresh(planted_identity());
    EXPECT_EQ(fresh.redact("10.0.0.9"), "ip-1") << "numbering is per bundle";
}

TEST(Redactor, Ipv6InEveryWrittenForm) {
    Redactor r(UserIdentity{});
    EXPECT_EQ(r.redact("2001:db8::42 2001:0DB8:0:0:0:0:0:42 2001:db8:0::0:42"), "ip-1 ip-1 ip-1");
    EXPECT_EQ(r.redact("[fe80::1ff:fe23:4567:890a%eth0]:443"), "[ip-2%eth0]:443");
    EXPECT_EQ(r.redact("inet6 fd00::2/64 scope"), "inet6 ip-3/64 scope");
    EXPECT_EQ(r.redact("peer 2001:db8::42."), "peer ip-1.") << "a full stop ends the address";
    EXPECT_EQ(r.redact("::ffff:10.1.2.3 ::10.1.2.3"), "ip-4 ip-5");
    EXPECT_EQ(r.redact("1:2:3:4:5:6:7:8"), "ip-6");
}

TEST(Redactor, WhatOnlyLooksLikeAnAddressStays) {
    Redactor r(planted_identity());
    for (const char* text : {
             "at 14:07:09 and 2024-03-05 14:07:09.123",  // times
             "version : 1.0.0.1 (ver. 10.2.0.7) FileVersion=6.1.7600.16385",
             "v1.2.3.4 build1.2.3.4 1.2.3.4.5.6 256.1.1.1 1.2.3",
             "build 1.0.0.7, 버전 1.0.0.1, 빌드:2.0.0.3, FileVersion 7.1.0.3, ProductVersion=7.1.0.3",
             "2024-03-05-14-07-09 14-07-09-123 log-10-20-30-40",          // dashed, but no cloud host name
             "std::string a::b::c",                                       // scope operators
             "12:34:56:78:9a:bc:de 00:11:22:33:44 00-01-00-01-2a-3b-4c",  // not six groups, nor a DUID
             "Time:12:34:56 ab:cd:ef:01:23:45:67",
             "deadbeef::cafe::1",  // two gaps
             "jkimball kiosk-070 ajkim mail@localhost user@",
             "loopback 127.0.0.1 ::1 0.0.0.0 :: 00:00:00:00:00:00 ff:ff:ff:ff:ff:ff",
         }) {
        EXPECT_EQ(r.redact(text), text);
    }
    EXPECT_TRUE(r.tokens().empty());
    EXPECT_EQ(r.redact("1.2.3.4 is not after a version word"), "ip-1 is not after a version word");
}

TEST(Redactor, AddressesNextToPunctuationAndUtf8AreFound) {
    Redactor r(planted_identity());
    EXPECT_EQ(r.redact("(192.168.1.2:8080), \"10.9.8.7\"; 172.16.0.1."), "(ip-1:8080), \"ip-2\"; ip-3.");
    EXPECT_EQ(r.redact("서버192.168.1.2에 연결"), "서버ip-1에 연결");
    EXPECT_EQ(r.redact("<a.b+c@mail.example.org>"), "<email-1>");
    EXPECT_EQ(r.redact("사용자 김지우 Kim Jiwoo님"), "사용자 김지우 name-1님");
    // Multi-byte characters around and between replacements come out whole.
    const std::string korean = "한글 텍스트 ✓ 🙂 ";
    EXPECT_EQ(r.redact(korean + "10.9.8.7" + korean), korean + "ip-2" + korean);
}

TEST(Redactor, HomeFolderOnlyAtTheStartOfAPath) {
    Redactor r(planted_identity());
    EXPECT_EQ(r.redact("open /home/jkim/Documents/a.log"), "open home-1/Documents/a.log");
    EXPECT_EQ(r.redact("file:///home/jkim"), "file://home-1");
    EXPECT_EQ(r.redact("/home/jkimball/x"), "/home/jkimball/x") << "another home is not this one";
    EXPECT_EQ(r.redact("/srv/home/jkim/x"), "/srv/home/user-1/x") << "not a home here, but still the login";
}

TEST(Redactor, UnusableIdentityValuesAreIgnored) {
    Redactor r(UserIdentity{"x", "", "root", ""});  // one letter would eat every such letter
    EXPECT_EQ(r.redact("x marks root"), "x marks name-1");
    Redactor same(UserIdentity{"", "root", "Root", ""});
    EXPECT_EQ(same.redact("root"), "user-1") << "a full name equal to the login is the login";
}

TEST(Redactor, MacAddressesInEveryNotationAreOneValue) {
    Redactor r(UserIdentity{});
    EXPECT_EQ(r.redact("00:1a:2b:3c:4d:5e 00-1A-2B-3C-4D-5E 001A.2B3C.4D5E MAC:00:1A:2B:3C:4D:5E"),
              "mac-1 mac-1 mac-1 MAC:mac-1");
    // ipconfig /all: the last six bytes of a DHCPv6 client DUID are the adapter's address.
    EXPECT_EQ(r.redact("DHCPv6 Client DUID. . . : 00-01-00-01-2A-3B-4C-5D-00-1A-2B-3C-4D-5E"),
              "DHCPv6 Client DUID. . . : 00-01-00-01-2A-3B-4C-5D-mac-1");
    EXPECT_EQ(r.redact("duid 00:03:00:01:00:1a:2b:3c:4d:5e"), "duid 00:03:00:01:mac-1");
    EXPECT_EQ(r.tokens().size(), 1u);
}

TEST(Redactor, AddressesInTheContextsLogsWriteThem) {
    Redactor r(UserIdentity{});
    EXPECT_EQ(r.redact("inet6 addr:fe80::1ff:fe23:4567:890a/64"), "inet6 addr:ip-1/64");
    EXPECT_EQ(r.redact("peer 2001:db8:0:0:0:0:0:42:443 closed"), "peer ip-2:443 closed");
    EXPECT_EQ(r.redact("srv10.1.2.3 ip-10-1-2-3.ec2.internal EC2-10-1-2-3"),
              "srvip-3 ip-ip-3.ec2.internal EC2-ip-3");
    EXPECT_EQ(r.redact("tcp4 0 0 10.1.2.3.443 192.0.2.9.52314 ESTABLISHED"),
              "tcp4 0 0 ip-3.443 ip-4.52314 ESTABLISHED");
    EXPECT_EQ(r.redact("1.2.3.4 is not after a version word"), "ip-5 is not after a version word")
        << "a quad nothing marks is taken for an address";
}

TEST(Redactor, EncodedFormsOfKnownValues) {
    Redactor r(UserIdentity{"kiosk-07", "jkim", "Kim Jiwoo", "C:\\Users\\김지우"});
    EXPECT_EQ(r.redact("mailto%3Ajkim.lee%40example.org&to=jkim.lee%40Example.org"),
              "mailto%3Aemail-1&to=email-1");
    EXPECT_EQ(r.redact("{\"mail\":\"jkim.lee\\u0040example.org\"}"), "{\"mail\":\"email-1\"}");
    EXPECT_EQ(r.redact("GET /u%2Fjkim%2Fx?name=Kim+Jiwoo&n2=Kim%20Jiwoo"),
              "GET /u%2Fuser-1%2Fx?name=name-1&n2=name-1");
    EXPECT_EQ(r.redact("file:///C:/Users/%EA%B9%80%EC%A7%80%EC%9A%B0/a.log"), "file:///home-1/a.log");
    EXPECT_EQ(r.redact("C%3A%5CUsers%5C%EA%B9%80%EC%A7%80%EC%9A%B0%5Ca.log"), "home-1%5Ca.log");
    EXPECT_EQ(
        r.redact("{\"p\":\"C:\\\\Users\\\\김지우\\\\a.log\",\"q\":\"C:\\\\Users\\\\\\uae40\\uc9c0\\uc6b0\"}"),
        "{\"p\":\"home-1\\\\a.log\",\"q\":\"home-1\"}");
    EXPECT_EQ(r.redact("C:\\Users\\김지우\\a.log C:/Users/김지우/b.log"), "home-1\\a.log home-1/b.log");
    EXPECT_EQ(r.tokens().size(), 4u) << r.map_json();
}

TEST(Redactor, TheHostsDomainIsAValueOfItsOwn) {
    Redactor r(UserIdentity{"kiosk-07.corp.example.com", "jkim", "", ""});
    EXPECT_EQ(r.redact("KIOSK-07.corp.example.com relay.corp.example.com corp.example.community"),
              "host-1.domain-1 relay.domain-1 corp.example.community");
    Redactor one_label(UserIdentity{"kiosk-07", "jkim", "", "", "lan"});
    EXPECT_EQ(one_label.redact("kiosk-07.lan lan"), "host-1.lan lan") << "one label names no company";
}

TEST(Redactor, ItsOwnTokensPassASecondTimeUnchanged) {
    Redactor r(UserIdentity{"host", "user", "", ""});
    const std::string once = r.redact("user on host");
    EXPECT_EQ(once, "user-1 on host-1");
    EXPECT_EQ(r.redact(once), once);
}

// Text handled in pieces comes out as it would whole, wherever the pieces are cut.
TEST(Redactor, PiecesCutAnywhereGiveTheWholeTextsResult) {
    const UserIdentity identity{"kiosk-07", "jkim", "Kim Jiwoo", "/home/jkim"};
    const std::string text =
        "build 1.0.0.7 from 192.168.10.5 MAC:00-1A-2B-3C-4D-5E Kim Jiwoo <jkim.lee%40example.org> "
        "addr:fe80::1 /home/jkim/a.log srv10.1.2.3 ip-10-1-2-3 001a.2b3c.4d5e 한글 jkim\n";
    std::string whole_text;
    while (whole_text.size() < 3 * Redactor::kLookBehind + 2 * kPatternReach) whole_text += text;
    const std::string expected = Redactor(identity).redact(whole_text);
    for (size_t cut = 1; cut < text.size() + 40; cut += 3) {
        Redactor r(identity);
        RedactionStream stream(r);
        std::string out;
        for (size_t at = 0; at < whole_text.size(); at += cut)
            stream.write(std::string_view(whole_text).substr(at, cut), out);
        stream.finish(out);
        ASSERT_EQ(out, expected) << "pieces of " << cut;
    }
}
