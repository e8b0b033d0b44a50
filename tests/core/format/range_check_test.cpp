#include <gtest/gtest.h>

#include "core/format/range_check.h"

namespace vxa {
namespace {

Block blockWith(int16_t frame, int16_t itemGroup, int16_t groupRecord) {
    Block block;
    block.frame.number = frame;
    if (frame != 0) block.frame.items = {Item{0, 0, 0, 0, 0, 0, 0}, Item{1, 0, itemGroup, 5, 5, 0, 0}};
    block.groups.resize(1);
    block.groups[0].id = groupRecord;
    return block;
}

TEST(RangeCheck, AcceptsFrameZeroAndNumbersInsideTheTables) {
    EXPECT_EQ(checkRanges(blockWith(0, 0, 1), 3, 2), "");
    EXPECT_EQ(checkRanges(blockWith(1, 1, 2), 3, 2), "");
    EXPECT_EQ(checkRanges(blockWith(3, 2, 1), 3, 2), "");
}

TEST(RangeCheck, RejectsFramesAndGroupIdsOutsideTheTables) {
    EXPECT_EQ(checkRanges(blockWith(4, 1, 1), 3, 2), "frame number 4 is outside 1..3");
    EXPECT_EQ(checkRanges(blockWith(-1, 1, 1), 3, 2), "frame number -1 is outside 1..3");
    EXPECT_EQ(checkRanges(blockWith(1, 3, 1), 3, 2), "item 1 of frame 1 names group 3, outside 1..2");
    EXPECT_EQ(checkRanges(blockWith(1, 1, 0), 3, 2), "group record 0 has id 0, outside 1..2");
    EXPECT_EQ(checkRanges(blockWith(1, 1, 1), 0, 2), "frame number 1 is outside the frame table, which is empty");
    EXPECT_EQ(checkRanges(blockWith(0, 0, 1), 3, -5),
              "group record 0 has id 1, outside the group table, which is empty");
}

}  // namespace
}  // namespace vxa
