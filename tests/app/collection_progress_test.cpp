// The collection's progress bar: steps end on their boundaries, and packing moves the bar inside its
// step, never back and never onto the next step's ground.
#include <gtest/gtest.h>

#include "app/collection_progress.h"

TEST(CollectionProgress, PackingMovesWithinItsStepAndTheStepEndsOnItsBoundary)
{
    EXPECT_EQ(step_end_position(0), kTicksPerStep);
    EXPECT_EQ(step_end_position(7 * kTicksPerStep), 8 * kTicksPerStep);
    EXPECT_EQ(step_end_position(7 * kTicksPerStep + 42), 8 * kTicksPerStep) << "from inside a step";

    const int start = 7 * kTicksPerStep;
    EXPECT_EQ(packing_position(start, 0, 400), start);
    EXPECT_EQ(packing_position(start, 100, 400), start + kTicksPerStep / 4);
    EXPECT_EQ(packing_position(start, 400, 400), start + kTicksPerStep - 1) << "the step's end is the step's";
    EXPECT_EQ(packing_position(start + 50, 100, 400), start + 50) << "a second folder never moves it back";
    EXPECT_EQ(packing_position(start, 900, 400), start + kTicksPerStep - 1) << "a file that grew";
    EXPECT_EQ(packing_position(start + 3, 0, 0), start + 3) << "nothing to pack";
    EXPECT_EQ(packing_position(start, UINT64_MAX / 2, UINT64_MAX), start + kTicksPerStep / 2 - 1)
        << "no overflow on huge sizes";
}
