// The documents token against the XDG documents folder, which the environment sets.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/CCheckHost.h"
#include "engine/check_list.h"

TEST(ParseCheckList, ExpandsTheDocumentsTokenInPathsOnly) {
    setenv("HOME", "/home/tester", 1);
    setenv("XDG_CONFIG_HOME", "/nonexistent-config", 1);
    ProductProfile profile;
    CheckGroups groups;
    std::string message;
    ASSERT_TRUE(parse_check_list(
        R"({"product title": "__user_documents_folder__", "product path agent": "__user_documents_folder__/A",
            "product path viewer": "v", "agent log path": "__user_documents_folder__\\Vendor\\Logs"})",
        profile, groups, message));
    EXPECT_EQ(profile.product_title, "__user_documents_folder__");
    EXPECT_EQ(profile.product_path_agent, "/home/tester/Documents/A");
    EXPECT_EQ(profile.agent_log_path, "/home/tester/Documents/Vendor/Logs")
        << "Windows separators become native";
}
