// The documented example blocks, byte for byte in both directions.
#include <gtest/gtest.h>

#include "core/format/block_decoder.h"
#include "core/format/block_encoder.h"
#include "sample_blocks.h"

namespace vxa {
namespace {

Block decodeWide(const std::vector<uint8_t>& withLength) {
    Block block;
    DecodeError error;
    EXPECT_TRUE(decodeBlock(withLength.data() + 2, withLength.size() - 2, Layout::Wide, block, error)) << error.message;
    return block;
}

TEST(ExampleBlock, DecodesToFrameOneAndGroupOne) {
    const std::vector<uint8_t> bytes = samples::exampleBlockBytes();
    ASSERT_EQ(bytes.size(), 41u);
    const Block block = decodeWide(bytes);

    EXPECT_EQ(block.frame.number, 1);
    EXPECT_EQ(block.frame.soundNumber, 0);
    ASSERT_EQ(block.frame.items.size(), 1u);
    const Item& item = block.frame.items[0];
    EXPECT_EQ(item.presence, 1);
    EXPECT_EQ(item.groupId, 1);
    EXPECT_EQ(item.x, 10);
    EXPECT_EQ(item.y, 20);

    ASSERT_EQ(block.groups.size(), 1u);
    const GroupRecord& group = block.groups[0];
    EXPECT_EQ(group.id, 1);
    EXPECT_EQ(group.color, 1);
    EXPECT_EQ(group.widthMinus1 + 1, 32);
    EXPECT_EQ(group.heightMinus1 + 1, 16);
    ASSERT_EQ(group.objects.size(), 1u);
    const ObjectRecord& rect = group.objects[0];
    EXPECT_EQ(rect.kind, ObjectKind::Rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 31);
    EXPECT_EQ(rect.bottom, 15);
    // Colour bytes are stored as index + 1: indices 0, 1, 0, 0.
    EXPECT_EQ(rect.fill1, 1);
    EXPECT_EQ(rect.fill2, 2);
    EXPECT_EQ(rect.line1, 1);
    EXPECT_EQ(rect.line2, 1);
    EXPECT_EQ(rect.fillPattern, 0);
    EXPECT_EQ(rect.linePattern, 0);
    EXPECT_EQ(rect.lineWidth, 1);
}

TEST(ExampleBlock, RepeatBlockDecodesToFrameTwoWithOneRepeat) {
    const Block block = decodeWide(samples::exampleRepeatBlockBytes());
    EXPECT_EQ(block.frame.number, 2);
    ASSERT_EQ(block.frame.items.size(), 1u);
    EXPECT_EQ(block.frame.items[0], (Item{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(block.groups.empty());
}

TEST(ExampleBlock, EncodingGivesBackTheSameBytes) {
    for (const auto& bytes : {samples::exampleBlockBytes(), samples::exampleRepeatBlockBytes()}) {
        std::vector<uint8_t> out;
        encodeBlock(decodeWide(bytes), Layout::Wide, out);
        EXPECT_EQ(out, bytes);
    }
}

}  // namespace
}  // namespace vxa
