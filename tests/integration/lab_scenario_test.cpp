#include <gtest/gtest.h>

#include "net/CHttpRequest.h"
#include "tests/integration/lab_support.h"

TEST(ProductLab, RefusesAScenarioItCannotUse) {
    for (const char* scenario : {R"({"relays": [{"name": "r", "behaviour": "grumpy"}]})",
                                 R"({"relays": [{"name": "twice"}], "http": [{"name": "twice"}]})",
                                 R"({"http": [{"name": "api", "steps": []}]})", R"({"relays": [{"port": 1}]})"}) {
        ProductLab lab;
        EXPECT_FALSE(lab.start(scenario)) << scenario;
    }
}

TEST(ProductLab, StatusSequencesRepeatTheirLastStepAndAreRecorded) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(R"({"http": [{"name": "api", "steps": [{"status": 200, "repeat": 2}, {"status": 500}]}]})"))
        << lab.error();
    std::vector<int> statuses;
    for (int i = 0; i < 4; ++i) {
        CHttpRequest request("127.0.0.1", lab.port("api"), "try/" + std::to_string(i + 1), "GET", false);
        request.Send();
        statuses.push_back(request.status);
    }
    EXPECT_EQ(statuses, (std::vector<int>{200, 200, 500, 500}));
    ASSERT_TRUE(lab.stop()) << lab.error();
    EXPECT_EQ(lab.record()["ports"]["api"].GetInt(), lab.port("api"));
    ASSERT_EQ(lab.record()["http"].Size(), 4u);
    EXPECT_STREQ(lab.record()["http"][3]["path"].GetString(), "/try/4");
}

TEST(ProductLab, LowPortRelaysListenWhereTheRelayProcedureApplies) {
    ProductLab first, second;
    ASSERT_TRUE(first.start(R"({"relays": [{"name": "session", "port": "low"}]})")) << first.error();
    ASSERT_TRUE(second.start(R"({"relays": [{"name": "session", "port": "low"}]})")) << second.error();
    for (const ProductLab* lab : {&first, &second}) {
        EXPECT_GE(lab->port("session"), 1024);
        EXPECT_LE(lab->port("session"), 8000);
    }
    EXPECT_NE(first.port("session"), second.port("session")) << "two labs at once do not collide";
    EXPECT_TRUE(first.stop());
    EXPECT_TRUE(second.stop());
}
