// Encoding must refuse what it cannot store exactly, and leave the output alone.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/format/block_encoder.h"
#include "sample_blocks.h"

namespace vxa {
namespace {

std::string refusal(const Block& block, Layout layout) {
    std::vector<uint8_t> out = {0xAA};
    try {
        encodeBlock(block, layout, out);
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(out, std::vector<uint8_t>{0xAA});
        return e.what();
    }
    ADD_FAILURE() << "encoded without complaint";
    return {};
}

Block frameBlock(int16_t number) {
    Block block;
    block.frame.number = number;
    return block;
}

TEST(BlockEncoder, RefusesCountsThatDoNotFitTheirField) {
    Block items = frameBlock(1);
    items.frame.items.resize(256);
    EXPECT_EQ(refusal(items, Layout::Wide), "item count 256 of frame 1 exceeds 255");

    Block groups = frameBlock(0);
    groups.groups.resize(256);
    EXPECT_EQ(refusal(groups, Layout::Narrow), "group record count 256 exceeds 255");

    Block objects = frameBlock(0);
    objects.groups.resize(1);
    objects.groups[0].id = 3;
    objects.groups[0].objects.resize(256);
    EXPECT_EQ(refusal(objects, Layout::Narrow), "object count 256 of group 3 exceeds 255");

    Block points = frameBlock(0);
    points.groups.resize(1);
    points.groups[0].objects.resize(1);
    points.groups[0].objects[0].points.resize(32768);
    EXPECT_EQ(refusal(points, Layout::Wide), "point count 32768 of object 0 in group 0 exceeds 32767");
}

TEST(BlockEncoder, RefusesBodiesOverTheLengthLimit) {
    Block block = frameBlock(0);
    block.groups.resize(1);
    block.groups[0].objects.resize(1);
    ObjectRecord& comment = block.groups[0].objects[0];
    comment.kind = ObjectKind::Comment;
    // 3 + 2 + 7 + 13 bytes before the string, 1 NUL after it.
    comment.skipped.assign(kMaxBodyLength - 26, 'c');
    std::vector<uint8_t> out;
    encodeBlock(block, Layout::Wide, out);
    EXPECT_EQ(out.size(), kMaxBodyLength + 2);
    EXPECT_EQ(out[0], 0x7F);
    EXPECT_EQ(out[1], 0xFF);

    comment.skipped.push_back('c');
    EXPECT_EQ(refusal(block, Layout::Wide), "body of 32768 bytes exceeds 32767");
}

TEST(BlockEncoder, RefusesFieldsTheLayoutOrRecordDoesNotStore) {
    Block sound = frameBlock(4);
    sound.frame.soundNumber = 2;
    EXPECT_EQ(refusal(sound, Layout::Narrow), "the narrow layout stores no sound number or flag for frame 4");

    Block extra = frameBlock(4);
    extra.frame.items.resize(1);
    extra.frame.items[0].extra = 1;
    EXPECT_EQ(refusal(extra, Layout::Narrow), "the narrow layout stores no extra value for item 0 of frame 4");

    Block repeat = frameBlock(4);
    repeat.frame.items.resize(1);
    repeat.frame.items[0].presence = 0;
    repeat.frame.items[0].groupId = 1;
    EXPECT_EQ(refusal(repeat, Layout::Wide), "item 0 of frame 4 is a repeat, which stores no other field");

    Block frameZero = frameBlock(0);
    frameZero.frame.items.resize(1);
    EXPECT_EQ(refusal(frameZero, Layout::Wide), "frame 0 stores only its filler byte, not items, a sound or a flag");

    Block filler = frameBlock(2);
    filler.frame.filler = 1;
    EXPECT_EQ(refusal(filler, Layout::Wide), "frame 2 stores no filler byte");

    Block otherKind = frameBlock(0);
    otherKind.groups.resize(1);
    otherKind.groups[0].objects.resize(1);
    otherKind.groups[0].objects[0].kind = ObjectKind::Rect;
    otherKind.groups[0].objects[0].fontName = "Arial";
    EXPECT_EQ(refusal(otherKind, Layout::Wide), "object 0 in group 0 of kind 3 carries fields of another kind");

    const std::string negativeCount =
        "a negative group record count is a wide block's, without group records, and below 0";
    Block narrowNegative = frameBlock(2);
    narrowNegative.negativeGroupCount = -1;
    EXPECT_EQ(refusal(narrowNegative, Layout::Narrow), negativeCount);
    Block negativeWithGroups = otherKind;
    negativeWithGroups.groups[0].objects[0].fontName.clear();
    negativeWithGroups.negativeGroupCount = -1;
    EXPECT_EQ(refusal(negativeWithGroups, Layout::Wide), negativeCount);
    Block positive = frameBlock(2);
    positive.negativeGroupCount = 5;
    EXPECT_EQ(refusal(positive, Layout::Wide), negativeCount);
}

TEST(BlockEncoder, RefusesNulInsideStrings) {
    Block block = frameBlock(0);
    block.groups.resize(1);
    block.groups[0].id = 2;
    block.groups[0].objects.resize(1);
    block.groups[0].objects[0].kind = ObjectKind::Text;
    block.groups[0].objects[0].text = std::string("a\0b", 3);
    EXPECT_EQ(refusal(block, Layout::Wide), "text of object 0 in group 2 holds a NUL byte");
}

}  // namespace
}  // namespace vxa
