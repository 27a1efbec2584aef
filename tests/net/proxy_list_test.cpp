#include "net/proxy_list.h"

#include <gtest/gtest.h>

TEST(ProxyList, TheSchemesOwnEntryComesBeforeTheCommonOne) {
    EXPECT_EQ(proxy_from_lists("proxy.corp:8080", "", "http", "api.example.com"), "http://proxy.corp:8080");
    EXPECT_EQ(proxy_from_lists("proxy.corp:8080", "", "https", "api.example.com"), "http://proxy.corp:8080");
    const std::string per_scheme = "ftp=f:21 proxy.corp:8080;HTTPS=secure.corp:3128";
    EXPECT_EQ(proxy_from_lists(per_scheme, "", "https", "a.example"), "http://secure.corp:3128");
    EXPECT_EQ(proxy_from_lists(per_scheme, "", "http", "a.example"), "http://proxy.corp:8080");
    EXPECT_EQ(proxy_from_lists("https=secure.corp:3128", "", "http", "a.example"), "")
        << "none for plain HTTP";
    EXPECT_EQ(proxy_from_lists("http://p.corp:80", "", "http", "a.example"), "http://p.corp:80");
    EXPECT_EQ(proxy_from_lists("", "", "http", "a.example"), "");
}

TEST(ProxyList, TheBypassListSendsMatchingHostsDirect) {
    const std::string bypass = "*.internal.corp; 10.* ,<local>";
    EXPECT_EQ(proxy_from_lists("p:1", bypass, "http", "API.Internal.Corp"), "");
    EXPECT_EQ(proxy_from_lists("p:1", bypass, "http", "10.1.2.3"), "");
    EXPECT_EQ(proxy_from_lists("p:1", bypass, "http", "intranet"), "") << "<local>: a name without a dot";
    EXPECT_EQ(proxy_from_lists("p:1", bypass, "http", "internal.corp"), "http://p:1") << "*. needs a label";
    EXPECT_EQ(proxy_from_lists("p:1", bypass, "http", "110.1.2.3"), "http://p:1");
    EXPECT_EQ(proxy_from_lists("p:1", "127.0.0.?", "http", "127.0.0.1"), "");
}

TEST(ProxyList, WhatTheConnectionSaysBeatsTheSettings) {
    // The settings name a static proxy, but a setup script sends this host elsewhere.
    ProxyEvidence scripted;
    scripted.auto_config = true;
    scripted.proxy_list = "static.corp:8080";
    EXPECT_EQ(proxy_reported(scripted, "https", "api.example"), kProxyAutoConfig) << "before any connection";
    scripted.connected = true;
    scripted.through_proxy = true;
    scripted.proxy_address = "10.0.0.9:3128";
    EXPECT_EQ(proxy_reported(scripted, "https", "api.example"), "http://10.0.0.9:3128");
    scripted.proxy_address.clear();
    EXPECT_EQ(proxy_reported(scripted, "https", "api.example"), kProxyAutoConfig) << "which one is not known";
    scripted.through_proxy = false;
    EXPECT_EQ(proxy_reported(scripted, "https", "api.example"), "") << "the script said DIRECT";

    ProxyEvidence fixed;
    fixed.proxy_list = "static.corp:8080";
    fixed.bypass_list = "*.internal";
    EXPECT_EQ(proxy_reported(fixed, "http", "api.example"), "http://static.corp:8080");
    EXPECT_EQ(proxy_reported(fixed, "http", "a.internal"), "");
}
