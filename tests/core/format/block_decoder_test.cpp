#include <gtest/gtest.h>

#include <string>

#include "core/format/block_decoder.h"
#include "core/format/block_encoder.h"
#include "sample_blocks.h"

namespace vxa {
namespace {

using Bytes = std::vector<uint8_t>;

bool decode(const Bytes& body, Layout layout, Block& block, DecodeError& error) {
    return decodeBlock(body.data(), body.size(), layout, block, error);
}

Block decodeOk(const Bytes& body, Layout layout) {
    Block block;
    DecodeError error;
    EXPECT_TRUE(decode(body, layout, block, error)) << error.message << " at " << error.offset;
    return block;
}

DecodeError decodeFails(const Bytes& body, Layout layout) {
    Block block;
    DecodeError error;
    EXPECT_FALSE(decode(body, layout, block, error));
    return error;
}

Bytes bodyOf(const Block& block, Layout layout) {
    Bytes bytes;
    encodeBlock(block, layout, bytes);
    return Bytes(bytes.begin() + 2, bytes.end());
}

// Frame 0 followed by one group record (id 7) with the given objects' bytes.
Bytes wideGroupBody(uint8_t objectCount, const Bytes& objects) {
    Bytes body = {0x00, 0x00, 0xEE, 0x00, 0x01, 0x00, 0x07, 0x01, 0x00, objectCount, 0x0F, 0x0F};
    body.insert(body.end(), objects.begin(), objects.end());
    return body;
}

Bytes objectHeader(uint8_t kind) { return {kind, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}; }

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(BlockLayouts, FrameZeroHasOneFillerByteAndOnlyGroups) {
    const Block wide = decodeOk({0x00, 0x00, 0xAB, 0x00, 0x00}, Layout::Wide);
    EXPECT_EQ(wide.frame.number, 0);
    EXPECT_EQ(wide.frame.filler, 0xAB);
    EXPECT_TRUE(wide.frame.items.empty());
    EXPECT_TRUE(wide.groups.empty());

    const Block narrow = decodeOk({0x00, 0x00, 0xCD, 0x00}, Layout::Narrow);
    EXPECT_EQ(narrow.frame.filler, 0xCD);
    EXPECT_TRUE(narrow.groups.empty());
}

TEST(BlockLayouts, NarrowHasNoSoundFlagOrExtraAndOneByteCounts) {
    const Bytes body = {0x00, 0x05, 0x02,                                      // frame 5, 2 items
                        0x01, 0x33, 0x00, 0x02, 0xFF, 0xFF, 0x00, 0x10, 0x44,  // explicit item (9 bytes)
                        0x00,                                                  // repeat
                        0x01,                                                  // 1 group record
                        0x00, 0x02, 0x05, 0x01, 0x09, 0x13,                    // group 2: colour, 1 object, 10 x 20
                        0x02, 0,    0,    9,    19,   1,    1,    1,    1,    0, 0, 1, 0};  // oval
    const Block block = decodeOk(body, Layout::Narrow);
    EXPECT_EQ(block.frame.number, 5);
    EXPECT_EQ(block.frame.soundNumber, 0);
    ASSERT_EQ(block.frame.items.size(), 2u);
    EXPECT_EQ(block.frame.items[0], (Item{1, 0x33, 2, -1, 16, 0x44, 0}));
    EXPECT_EQ(block.frame.items[1].presence, 0);
    ASSERT_EQ(block.groups.size(), 1u);
    EXPECT_EQ(block.groups[0].id, 2);
    EXPECT_EQ(block.groups[0].color, 5);
    EXPECT_EQ(block.groups[0].widthMinus1, 9);
    ASSERT_EQ(block.groups[0].objects.size(), 1u);
    EXPECT_EQ(block.groups[0].objects[0].kind, ObjectKind::Oval);
    EXPECT_EQ(bodyOf(block, Layout::Narrow), body);
}

TEST(BlockLayouts, RichBlocksRoundTripInBothLayouts) {
    for (const Layout layout : {Layout::Wide, Layout::Narrow}) {
        for (const Block& block : samples::richStream(layout).blocks) {
            const Bytes body = bodyOf(block, layout);
            EXPECT_EQ(decodeOk(body, layout), block);
        }
    }
}

// Decoding into a block that holds an earlier block's records (as the
// plug-in does, to keep their memory) gives exactly the new block: nothing
// of the earlier one is left in any field, forwards or backwards through
// blocks of every shape.
TEST(BlockLayouts, ReusedOutputHoldsOnlyTheLatestBlock) {
    for (const Layout layout : {Layout::Wide, Layout::Narrow}) {
        std::vector<Block> blocks = samples::richStream(layout).blocks;
        Block everyKind;
        everyKind.groups = {samples::everyKindGroup(3), samples::everyKindGroup(4)};
        blocks.push_back(everyKind);
        for (const bool backwards : {false, true}) {
            Block reused;
            DecodeError error;
            for (size_t i = 0; i < blocks.size(); ++i) {
                const Block& block = blocks[backwards ? blocks.size() - 1 - i : i];
                ASSERT_TRUE(decode(bodyOf(block, layout), layout, reused, error)) << error.message;
                EXPECT_EQ(reused, block) << "block " << i << (backwards ? " backwards" : "");
            }
        }
    }
}

TEST(ObjectPayloads, TextJustificationIsSignedAndEmptyStringsTakeOneNul) {
    const Bytes text = concat(objectHeader(6), {0x01, 0x03, 0x0C, 0xFF, 0x00, 0x00});
    const Bytes text2 = concat(objectHeader(6), {0x00, 0x00, 0x00, 0xFE, 'A', 0x00, 'h', 'i', 0x00});
    const Block block = decodeOk(wideGroupBody(2, concat(text, text2)), Layout::Wide);
    const auto& objects = block.groups[0].objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].textColor, 1);
    EXPECT_EQ(objects[0].style, 3);
    EXPECT_EQ(objects[0].size, 12);
    EXPECT_EQ(objects[0].justification, -1);
    EXPECT_EQ(objects[0].fontName, "");
    EXPECT_EQ(objects[0].text, "");
    EXPECT_EQ(objects[1].justification, -2);
    EXPECT_EQ(objects[1].fontName, "A");
    EXPECT_EQ(objects[1].text, "hi");
}

TEST(ObjectPayloads, ArcStoresSweepBeforeStartAngle) {
    const Bytes arc = concat(objectHeader(5), {0xFF, 0xA6, 0x00, 0x2D});
    const Block block = decodeOk(wideGroupBody(1, arc), Layout::Wide);
    const ObjectRecord& object = block.groups[0].objects[0];
    EXPECT_EQ(object.sweep, -90);
    EXPECT_EQ(object.startAngle, 45);
}

TEST(ObjectPayloads, EmptyGroupAndPolygonWithoutPoints) {
    EXPECT_TRUE(decodeOk(wideGroupBody(0, {}), Layout::Wide).groups[0].objects.empty());

    const Bytes polygon = concat(objectHeader(0), {0x00, 0x00});
    const Block block = decodeOk(wideGroupBody(1, polygon), Layout::Wide);
    EXPECT_EQ(block.groups[0].objects[0].kind, ObjectKind::Polygon);
    EXPECT_TRUE(block.groups[0].objects[0].points.empty());
}

TEST(ObjectPayloads, PolygonPointsAreXThenY) {
    const Bytes polygon = concat(objectHeader(0), {0x00, 0x02, 0x01, 0xFE, 0xFF, 0x00});
    const Block block = decodeOk(wideGroupBody(1, polygon), Layout::Wide);
    const auto& points = block.groups[0].objects[0].points;
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], std::make_pair(uint8_t{1}, uint8_t{0xFE}));
    EXPECT_EQ(points[1], std::make_pair(uint8_t{0xFF}, uint8_t{0}));
}

TEST(ObjectPayloads, CommentKeepsItsStringAndUnknownKindsOnlyTheirHeader) {
    const Bytes objects =
        concat(concat(concat(objectHeader(7), {'n', 'o', 't', 'e', 0x00}), objectHeader(0x2A)), objectHeader(0x80));
    const Block block = decodeOk(wideGroupBody(3, objects), Layout::Wide);
    const auto& decoded = block.groups[0].objects;
    EXPECT_EQ(decoded[0].skipped, "note");
    EXPECT_EQ(decoded[1].kind, 42);
    EXPECT_EQ(decoded[2].kind, -128);
    EXPECT_EQ(decoded[2].reserved, 12);
}

TEST(BlockLayouts, ANegativeGroupRecordCountMeansNoGroupsAndKeepsTheFrame) {
    // Frame 3 placing group 2 at (1, 1), then a wide count of 0x8000..0xFFFF.
    const Bytes frame = {0x00, 0x03, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
                         0x02, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00};
    for (const Bytes count : {Bytes{0xFF, 0xFF}, Bytes{0x80, 0x00}, Bytes{0xC0, 0x01}}) {
        const Bytes body = concat(frame, count);
        const Block block = decodeOk(body, Layout::Wide);
        EXPECT_EQ(block.frame.number, 3);
        ASSERT_EQ(block.frame.items.size(), 1u);
        EXPECT_EQ(block.frame.items[0].groupId, 2);
        EXPECT_TRUE(block.groups.empty());
        EXPECT_EQ(static_cast<uint16_t>(block.negativeGroupCount), (count[0] << 8) | count[1]);
        EXPECT_EQ(bodyOf(block, Layout::Wide), body);
    }
}

TEST(MalformedBodies, EveryTruncationIsRejected) {
    for (const Layout layout : {Layout::Wide, Layout::Narrow}) {
        for (const Block& block : samples::richStream(layout).blocks) {
            const Bytes body = bodyOf(block, layout);
            for (size_t length = 0; length < body.size(); ++length) {
                // A copy of exactly `length` bytes, so a read past it is caught by the sanitizers.
                const Bytes cut(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(length));
                Block out;
                DecodeError error;
                EXPECT_FALSE(decode(cut, layout, out, error)) << "length " << length;
                EXPECT_LE(error.offset, length);
                EXPECT_NE(error.message.find("past the end of the block"), std::string::npos) << error.message;
            }
        }
    }
}

TEST(MalformedBodies, EachFaultIsNamedAtItsOffset) {
    const Bytes trailing = concat(bodyOf(samples::richStream(Layout::Wide).blocks[1], Layout::Wide), {0});
    const Bytes unterminatedText =
        wideGroupBody(4, concat(concat(concat(objectHeader(1), objectHeader(2)), objectHeader(3)),
                                concat(objectHeader(6), {0x01, 0x00, 0x0C, 0x00, 'A', 0x00, 'n', 'o'})));
    const size_t anywhere = SIZE_MAX;
    const struct {
        Bytes body;
        std::string message;
        size_t offset;
    } rows[] = {
        {trailing, "1 byte left over after the last group record", trailing.size() - 1},
        {{0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00}, "1 byte left over after the last group record", 5},
        {{0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x07, 0x01, 0x80, 0x00, 0x0F, 0x0F},
         "object count -32768 of group 7 is negative",
         8},
        {wideGroupBody(1, concat(objectHeader(0), {0xFF, 0xFE})), "point count -2 of object 0 in group 7 is negative",
         anywhere},
        {unterminatedText, "text of object 3 in group 7 runs past the end of the block", unterminatedText.size() - 2},
        {wideGroupBody(1, concat(objectHeader(0), {0x7F, 0xFF, 1, 2})),
         "points of object 0 in group 7 run past the end of the block", anywhere},
    };
    for (const auto& row : rows) {
        const DecodeError error = decodeFails(row.body, Layout::Wide);
        EXPECT_EQ(error.message, row.message);
        if (row.offset != anywhere) {
            EXPECT_EQ(error.offset, row.offset) << row.message;
        }
    }
}

TEST(MalformedBodies, BodiesLongerThanALengthFieldCanHoldAreRejected) {
    Bytes body = {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00};
    body = concat(body, objectHeader(7));
    body.resize(kMaxBodyLength + 1, 'x');
    body.back() = 0;
    EXPECT_EQ(decodeFails(body, Layout::Wide).message, "body of 32768 bytes exceeds 32767");
    body.erase(body.end() - 2);
    decodeOk(body, Layout::Wide);
}

}  // namespace
}  // namespace vxa
