#include <gtest/gtest.h>

#include <thread>

#include "engine/check_item.h"
#include "engine/product_profile.h"
#include "engine/result_code.h"
#include "engine/server_kinds.h"

TEST(ProductFamily, FirstMatchingTestTextDecides) {
    EXPECT_EQ(choose_product_family("Quenmora SE Customer").style, 7);
    EXPECT_EQ(choose_product_family("QUENMORA Viewer").style, 6);
    EXPECT_EQ(choose_product_family("Dravi for Selvanta").style, 8);
    EXPECT_EQ(choose_product_family("Nostrel Agent").style, 10);
    const ProductFamily dravi = choose_product_family("dravi");
    EXPECT_EQ(dravi.accent, 0xFF20B2AEu);
    EXPECT_EQ(dravi.icon_id, 164);
    const ProductFamily other = choose_product_family("Something else");
    EXPECT_EQ(other.style, 11);
    EXPECT_EQ(other.accent, 0xFFD3D3D3u);
    EXPECT_EQ(other.icon_id, 166);
}

TEST(ServerKinds, OrderedByKeyWithKoreanDisplayNames) {
    const ServerKinds& kinds = server_kinds();
    ASSERT_EQ(kinds.size(), 6u);
    const char* keys[] = {"api", "gateway", "proxy", "session", "update", "web"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(server_kind_index(keys[i]), i);
    EXPECT_EQ(kinds[1].second, "중계");
    EXPECT_EQ(kinds[3].second, "세션");
    EXPECT_EQ(server_kind_index("Web"), -1);
    EXPECT_TRUE(is_relay_kind("gateway"));
    EXPECT_FALSE(is_relay_kind("web"));
}

TEST(ResultCodes, TenFixedCodesWithTheirMessages) {
    const auto codes = g_result_codes.snapshot();
    EXPECT_GE(codes.size(), 10u);
    EXPECT_EQ(result_message(RESULT_NOT_ADMIN), "관리자 권한의 계정이 아닙니다.");
    EXPECT_EQ(result_message(RESULT_OK), "성공");
    EXPECT_EQ(result_message(ResultCode{404, 0}), "");
    EXPECT_EQ(g_result_codes.message_id(90107), 109);
}

TEST(ResultCodes, HttpCodesRegisterSafelyWhileAnotherThreadReads) {
    std::thread writer([] {
        for (int code = 100; code < 600; ++code) g_result_codes.register_code(code, 0);
    });
    size_t seen = 0;
    for (int i = 0; i < 200; ++i) seen = std::max(seen, g_result_codes.snapshot().size());
    writer.join();
    EXPECT_EQ(g_result_codes.message_id(599), 0);
    EXPECT_EQ(g_result_codes.message_id(0), 102);
    EXPECT_GE(g_result_codes.snapshot().size(), 510u);
}

TEST(CheckItem, CategoryIsTheNameUpToTheFirstBlankOrEmpty) {
    CCheckItem item;
    item.name = "세션 서버";
    EXPECT_EQ(item.category(), "세션");
    item.name = "API";
    EXPECT_EQ(item.category(), "");
}
