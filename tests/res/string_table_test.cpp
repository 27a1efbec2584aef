#include "res/string_table.h"

#include <gtest/gtest.h>

#include <set>

#include "res/engine_texts.h"
#include "res/text_tables.h"

TEST(StringTable, FillTextReplacesEachNumberedPlaceholderOnceAndLeavesTheRest) {
    EXPECT_EQ(fill_text("%2 of %1 checks, %2 again", {"7", "3"}), "3 of 7 checks, 3 again");
    // A value is never read for placeholders, and a number without a value stays as written.
    EXPECT_EQ(fill_text("%1 / %2 / %3", {"%2", "50%"}), "%2 / 50% / %3");
    EXPECT_EQ(fill_text("100% done%", {}), "100% done%");
    EXPECT_EQ(load_string(text::kToolCaption, {"Dravi", "1.0"}), "Dravi Check Tool (ver. 1.0)");
}

TEST(StringTable, EveryIdNamesOneTextAndAnUnknownIdGivesNone) {
    std::set<int> ids;
    for (const auto table :
         {first_texts(), engine_texts(), report_texts(), window_texts(), cli_texts(), upload_texts()})
        for (const TextEntry& e : table) EXPECT_TRUE(ids.insert(e.id).second) << "id " << e.id << " twice";
    EXPECT_EQ(load_string(text::kResultOkText), "성공");
    EXPECT_EQ(load_string(99999), "");
}
