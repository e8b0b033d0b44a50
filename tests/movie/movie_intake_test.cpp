// A movie taking in its stream: the header in both layouts, blocks entered
// into the frame and group tables, and blocks that must enter nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "core/tables/color_table.h"
#include "graphics/graphic_object.h"
#include "graphics/text_object.h"
#include "message_box_watcher.h"
#include "core/format/big_endian.h"
#include "core/format/stream.h"
#include "core/model/movie_model.h"
#include "movie/object_group.h"
#include "movie_test_support.h"
#include "plugin/messages.h"
#include "sample_blocks.h"

using namespace movietest;

namespace {

class MovieIntake : public ::testing::Test {
protected:
    MovieIntake()
        : watcher_(true,
                   [this](const SeenBox& box) {
                       if (insideBox_) insideBox_(box);
                   }),
          window_(160, 120) {}

    std::unique_ptr<Movie> whole(const std::vector<uint8_t>& bytes) { return feed(bytes, {}, window_.object()); }

    size_t boxesSaying(const char* text) const {
        size_t count = 0;
        for (const SeenBox& box : watcher_.boxes()) count += box.text == text;
        return count;
    }

    std::function<void(const SeenBox&)> insideBox_;
    MessageBoxWatcher watcher_;
    TestWindow window_;
};

// The documented example bytes, written out rather than encoded, so that the
// movie is checked against the format itself.
std::vector<uint8_t> exampleStream() {
    std::vector<uint8_t> bytes = streamBytes(wideHeader({64, 48, 1, 2}), {});
    append(bytes, vxa::samples::exampleBlockBytes());
    append(bytes, vxa::samples::exampleRepeatBlockBytes());
    return bytes;
}

TEST_F(MovieIntake, WorkedExampleFillsBothTables) {
    auto movie = whole(exampleStream());
    ASSERT_EQ(2, movie->frameCount());
    ASSERT_EQ(1, movie->groupCount());
    for (int n : {1, 2}) {
        const FrameRecord* frame = movie->frame(n);
        ASSERT_NE(nullptr, frame) << n;
        EXPECT_EQ(0, frame->soundNumber);
        ASSERT_EQ(1u, frame->items.size());
        EXPECT_EQ(1, frame->items[0].groupId);
        EXPECT_EQ(10, frame->items[0].x);
        EXPECT_EQ(20, frame->items[0].y);
    }
    const ObjectGroup* group = movie->group(1);
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(1, group->id());
    EXPECT_EQ(32, group->extent().right);
    EXPECT_EQ(16, group->extent().bottom);
    ASSERT_EQ(1u, group->objectCount());
    const GraphicObject* rect = group->object(0);
    ASSERT_NE(nullptr, rect);
    EXPECT_EQ(3, rect->kind());
    EXPECT_EQ(31, rect->header().right);
    EXPECT_EQ(15, rect->header().bottom);
    EXPECT_EQ(0, rect->header().fillColor1);
    EXPECT_EQ(1, rect->header().fillColor2);
    EXPECT_EQ(1, rect->header().lineWidth);
    EXPECT_EQ(0, movie->rejectedBlocks());
    EXPECT_TRUE(watcher_.boxes().empty());
}

// Frames with repeats, a frame-0 block, groups that arrive twice, every
// object kind the tables treat differently (a text, a polygon, a comment and
// unknown kinds that leave empty slots).
std::vector<vxa::Block> variedBlocks(vxa::Layout layout = vxa::Layout::Wide) {
    const bool wide = layout == vxa::Layout::Wide;
    vxa::GroupRecord mixed = rectGroup(3, 40, 30, 35);
    vxa::ObjectRecord polygon;
    polygon.kind = vxa::ObjectKind::Polygon;
    polygon.points = {{0, 0}, {20, 5}, {7, 29}};
    polygon.fill1 = 5;
    polygon.fillPattern = 12;
    vxa::ObjectRecord comment;
    comment.kind = vxa::ObjectKind::Comment;
    comment.skipped = "made by hand";
    vxa::ObjectRecord unknown;
    unknown.kind = 9;
    vxa::ObjectRecord negative;
    negative.kind = -3;
    vxa::ObjectRecord text;
    text.kind = vxa::ObjectKind::Text;
    text.right = 40;
    text.bottom = 20;
    text.size = 12;
    text.fontName = "Arial";
    text.text = "two\rlines";
    mixed.objects.insert(mixed.objects.end(), {polygon, comment, unknown, negative, text});

    return {
        groupBlock({rectGroup(1, 16, 16, 210), rectGroup(2, 8, 24, 35)}),
        frameBlock(1, {place(1, 0, 0), place(2, 30, 4)}, wide ? 7 : 0),
        frameBlock(2, {repeat(), place(3, 5, 6), repeat()}),
        groupBlock({mixed}),
        frameBlock(3, {repeat(), repeat(), repeat()}, wide ? -3 : 0),
        groupBlock({rectGroup(1, 20, 10, 185)}),
        frameBlock(2, {place(2, 1, 2)}),  // arrives again
        frameBlock(4, {}),
    };
}

TEST_F(MovieIntake, EveryChunkingLeavesTheSameTables) {
    for (vxa::Layout layout : {vxa::Layout::Wide, vxa::Layout::Narrow}) {
        HeaderFields fields{64, 48, 4, 4};
        const vxa::Header header = layout == vxa::Layout::Wide ? wideHeader(fields) : narrowHeader(fields);
        const std::vector<uint8_t> bytes = streamBytes(header, variedBlocks(layout));
        const std::unique_ptr<Movie> all = whole(bytes);
        const std::string expected = dumpTables(*all);
        EXPECT_NE(std::string::npos, expected.find("frame 3 sound")) << expected;
        EXPECT_NE(std::string::npos, expected.find("[empty] [empty] [empty]")) << expected;
        // Read where the chunk lay: nothing of the stream stays with the movie.
        EXPECT_EQ(0u, all->streamBytesHeld());

        size_t largestBlock = 0;
        for (const vxa::Block& block : variedBlocks(layout))
            largestBlock = std::max(largestBlock, blockBytes(block, layout).size());
        for (size_t cut = 1; cut < bytes.size(); ++cut) {
            const std::unique_ptr<Movie> movie = feed(bytes, {cut}, window_.object());
            ASSERT_EQ(expected, dumpTables(*movie)) << "cut at " << cut;
            EXPECT_LE(movie->streamBytesHeld(), largestBlock) << "cut at " << cut;
        }

        std::vector<size_t> everyByte;
        for (size_t i = 1; i < bytes.size(); ++i) everyByte.push_back(i);
        EXPECT_EQ(expected, dumpTables(*feed(bytes, everyByte, window_.object())));

        std::mt19937 random(1234);
        for (int run = 0; run < 40; ++run) {
            std::vector<size_t> cuts;
            for (size_t at = 0;;) {
                at += 1 + random() % 40;
                if (at >= bytes.size()) break;
                cuts.push_back(at);
            }
            ASSERT_EQ(expected, dumpTables(*feed(bytes, cuts, window_.object()))) << "run " << run;
        }
    }
    EXPECT_TRUE(watcher_.boxes().empty());
}

TEST_F(MovieIntake, VariedStreamTablesHoldTheLatestArrivals) {
    auto movie = whole(streamBytes(wideHeader({64, 48, 4, 4}), variedBlocks()));
    // Frame 2 arrived twice: the second record replaced the first.
    ASSERT_NE(nullptr, movie->frame(2));
    ASSERT_EQ(1u, movie->frame(2)->items.size());
    EXPECT_EQ(2, movie->frame(2)->items[0].groupId);
    // Frame 3 repeated the first frame 2's items, which were there when it came.
    const FrameRecord* third = movie->frame(3);
    ASSERT_NE(nullptr, third);
    EXPECT_EQ(-3, third->soundNumber);
    ASSERT_EQ(3u, third->items.size());
    EXPECT_EQ(1, third->items[0].groupId);
    EXPECT_EQ(3, third->items[1].groupId);
    EXPECT_EQ(5, third->items[1].x);
    // Item 2 of the first frame 2 repeated frame 1, which has only two items.
    EXPECT_EQ(0, third->items[2].groupId);
    EXPECT_EQ(0, third->items[2].x);
    EXPECT_EQ(0, third->items[2].y);
    EXPECT_TRUE(movie->frame(4)->items.empty());
    // Group 1 was replaced: 20 x 10 now, and the first one's object is gone.
    EXPECT_EQ(20, movie->group(1)->extent().right);
    const ObjectGroup* mixed = movie->group(3);
    ASSERT_EQ(6u, mixed->objectCount());
    EXPECT_EQ(nullptr, mixed->object(2));  // comment
    EXPECT_EQ(nullptr, mixed->object(3));  // kind 9
    EXPECT_EQ(nullptr, mixed->object(4));  // kind -3
    EXPECT_EQ(6, mixed->object(5)->kind());
    // Groups 1 and 2 hold one object each, group 3 three and three empty slots.
    EXPECT_EQ(5u, movie->buildContext().live().objects);
    EXPECT_EQ(3u, movie->buildContext().live().points);
}

TEST_F(MovieIntake, RepeatWithoutAPreviousFrameIsAllZero) {
    auto movie = whole(streamBytes(wideHeader({64, 48, 2, 3}),
                                   {frameBlock(1, {repeat()}), frameBlock(3, {repeat(), place(2, 4, 4)})}));
    ASSERT_NE(nullptr, movie->frame(1));
    EXPECT_EQ(0, movie->frame(1)->items[0].groupId);
    // Frame 2 has not arrived.
    EXPECT_EQ(0, movie->frame(3)->items[0].groupId);
    EXPECT_EQ(2, movie->frame(3)->items[1].groupId);
}

TEST_F(MovieIntake, HeaderSettingsInBothLayouts) {
    // 9999 and -32768 are both widths; only 10000..32767 is a version.
    const auto narrowWidth = [](int16_t width) {
        std::vector<uint8_t> bytes;
        vxa::appendBigEndian16(bytes, width);
        append(bytes, {0x00, 0x10, 0x02, 0x05, 0x00, 0x01, 0x00, 0x01});
        append(bytes, blockBytes(frameBlock(1, {place(1, 2, 3)}), vxa::Layout::Narrow));
        return bytes;
    };
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int version, loops, wait, width, height;
        COLORREF background;
        int rate, frame;
    } rows[] = {
        // The 20-byte header is stepped over: the block after it parses.
        {"wide", streamBytes(wideHeader({300, 200, 2, 3, 12, 0, 1, -1}), {frameBlock(3, {place(2, 1, 1)})}),
         10000, 1, -1, 300, 200, 0x00000000u, 12, 3},
        {"narrow", streamBytes(narrowHeader({640, 480, 2, 2, 15, 1, 0, 0}), {frameBlock(2, {place(1, 3, 4)})}),
         0, 0, 0, 640, 480, 0x00FFFFFFu, 15, 2},
        {"width 9999", narrowWidth(9999), 0, 0, 0, 9999, 16, colorForIndex(1), 5, 1},
        {"width -32768", narrowWidth(-32768), 0, 0, 0, -32768, 16, colorForIndex(1), 5, 1},
        {"width -1", narrowWidth(-1), 0, 0, 0, -1, 16, colorForIndex(1), 5, 1},
    };
    for (const auto& row : rows) {
        auto movie = whole(row.bytes);
        const RECT bounds = movie->getBounds();
        EXPECT_EQ(row.version, movie->version()) << row.name;
        EXPECT_EQ(row.loops, movie->loops()) << row.name;
        EXPECT_EQ(row.wait, movie->isWaitingForClick()) << row.name;
        EXPECT_EQ(0, bounds.left) << row.name;
        EXPECT_EQ(0, bounds.top) << row.name;
        EXPECT_EQ(row.width, bounds.right) << row.name;
        EXPECT_EQ(row.height, bounds.bottom) << row.name;
        EXPECT_EQ(row.background, movie->backgroundColor()) << row.name;
        EXPECT_EQ(row.rate, movie->frameRate()) << row.name;
        EXPECT_EQ(Movie::kNoWaitCursor, movie->cursorState()) << row.name;
        ASSERT_NE(nullptr, movie->frame(row.frame)) << row.name;
        EXPECT_NE(0, movie->frame(row.frame)->items[0].x) << row.name;
    }
}

TEST_F(MovieIntake, HeaderCompletedByLaterChunks) {
    const std::vector<uint8_t> bytes = exampleStream();
    const std::string expected = dumpTables(*whole(bytes));
    for (size_t first : {size_t{1}, size_t{2}, size_t{19}}) {
        auto movie = std::make_unique<Movie>(bytes.data(), static_cast<int32_t>(first), window_.object());
        EXPECT_FALSE(movie->headerComplete());
        const RECT bounds = movie->getBounds();
        EXPECT_TRUE(IsRectEmpty(&bounds));
        EXPECT_EQ(0, movie->frameCount());
        EXPECT_EQ(nullptr, movie->offscreen());
        movie->resetPlayback();
        EXPECT_EQ(0, movie->tick(bounds));
        EXPECT_EQ(0, movie->currentFrame());
        movie->appendChunk(bytes.data() + first, static_cast<int32_t>(bytes.size() - first));
        EXPECT_TRUE(movie->headerComplete());
        EXPECT_NE(nullptr, movie->offscreen());
        EXPECT_EQ(expected, dumpTables(*movie)) << "first chunk of " << first;
    }
}

TEST_F(MovieIntake, DamagedBlocksAreSkippedAndToldOnce) {
    std::vector<uint8_t> bytes = streamBytes(wideHeader({64, 48, 2, 4}), {frameBlock(1, {place(1, 0, 0)})});
    // A body with a byte left over after its last group record.
    append(bytes, {0x00, 0x09, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    // A text whose string runs past the end of its block.
    vxa::GroupRecord text = rectGroup(2, 10, 10, 0);
    text.objects[0].kind = vxa::ObjectKind::Text;
    text.objects[0].fontName = "Arial";
    text.objects[0].text = "abc";
    std::vector<uint8_t> cut = blockBytes(groupBlock({text}));
    cut.pop_back();
    cut[1] -= 1;
    append(bytes, cut);
    append(bytes, blockBytes(frameBlock(3, {place(1, 1, 1)})));

    auto movie = whole(bytes);
    EXPECT_EQ(2, movie->rejectedBlocks());
    EXPECT_EQ(nullptr, movie->frame(2));
    EXPECT_EQ(nullptr, movie->group(2));
    // Parsing went on behind them.
    EXPECT_NE(nullptr, movie->frame(1));
    EXPECT_NE(nullptr, movie->frame(3));
    EXPECT_TRUE(movie->takingData());
    EXPECT_EQ(1u, boxesSaying(messages::kDamagedAnimation));
    EXPECT_EQ(1u, watcher_.boxes().size());

    // Later damage in a later chunk raises no second box.
    const std::vector<uint8_t> more = blockBytes(frameBlock(9, {}));
    movie->appendChunk(more.data(), static_cast<int32_t>(more.size()));
    EXPECT_EQ(3, movie->rejectedBlocks());
    EXPECT_EQ(1u, watcher_.boxes().size());
}

TEST_F(MovieIntake, BlocksNamingEntriesOutsideTheTablesEnterNothing) {
    const std::vector<vxa::Block> outside = {
        frameBlock(5, {place(1, 0, 0)}),                 // frame past the table
        frameBlock(-1, {}),                              // negative frame
        frameBlock(1, {place(0, 0, 0)}),                 // explicit item naming group 0
        frameBlock(1, {place(3, 0, 0)}),                 // group past the table
        [] {
            vxa::Block block = frameBlock(2, {place(1, 0, 0)});
            block.groups = {rectGroup(1, 4, 4, 0), rectGroup(3, 4, 4, 0)};  // second record outside
            return block;
        }(),
    };
    for (const vxa::Block& block : outside) {
        auto movie = whole(streamBytes(wideHeader({64, 48, 2, 4}), {block}));
        EXPECT_EQ(1, movie->rejectedBlocks());
        for (int n = 1; n <= 4; ++n) EXPECT_EQ(nullptr, movie->frame(n));
        EXPECT_EQ(nullptr, movie->group(1));
        EXPECT_EQ(0u, movie->buildContext().live().objects);
        EXPECT_FALSE(movie->lastRejection().empty());
    }
}

TEST_F(MovieIntake, NegativeGroupRecordCountKeepsTheFrame) {
    // A wide count of 0x8000..0xFFFF stands for no group records.
    vxa::Block second = frameBlock(2, {place(1, 3, 4)});
    second.negativeGroupCount = -1;
    auto movie = whole(streamBytes(wideHeader({64, 48, 2, 4}),
                                   {groupBlock({rectGroup(1, 4, 4, 0)}), frameBlock(1, {place(1, 0, 0)}), second}));
    EXPECT_EQ(0, movie->rejectedBlocks());
    const FrameRecord* frame = movie->frame(2);
    ASSERT_NE(nullptr, frame);
    ASSERT_EQ(1u, frame->items.size());
    EXPECT_EQ(1, frame->items[0].groupId);
    EXPECT_EQ(4, frame->items[0].y);
    EXPECT_NE(nullptr, movie->group(1));
    EXPECT_TRUE(watcher_.boxes().empty());
}

TEST_F(MovieIntake, NegativeTableSizesGiveEmptyTables) {
    auto movie = whole(streamBytes(wideHeader({64, 48, -2, -7}), {frameBlock(1, {}), groupBlock({rectGroup(1, 2, 2, 0)})}));
    EXPECT_EQ(0, movie->frameCount());
    EXPECT_EQ(0, movie->groupCount());
    EXPECT_EQ(2, movie->rejectedBlocks());
    EXPECT_EQ(0, movie->tick(movie->getBounds()));
}

TEST_F(MovieIntake, BlockLengthOf0x8000StopsTheIntake) {
    std::vector<uint8_t> bytes = streamBytes(wideHeader({64, 48, 2, 4}), {frameBlock(1, {})});
    append(bytes, {0x80, 0x00, 0x00, 0x02});
    auto movie = whole(bytes);
    EXPECT_NE(nullptr, movie->frame(1));
    EXPECT_FALSE(movie->takingData());
    EXPECT_EQ(1u, boxesSaying(messages::kDamagedAnimation));
    // Whatever comes later is not taken in.
    const std::vector<uint8_t> more = blockBytes(frameBlock(2, {}));
    movie->appendChunk(more.data(), static_cast<int32_t>(more.size()));
    EXPECT_EQ(nullptr, movie->frame(2));
    EXPECT_EQ(1u, watcher_.boxes().size());
}

TEST_F(MovieIntake, CaptionHeavyMovieSharesItsFontsAndDrawsEveryCaptionInIt) {
    // More text objects than the movie may hold distinct fonts, in three
    // fonts: each object gets its font, and the movie holds three.
    const int groups = 21;
    const int textsPerGroup = 100;
    std::vector<vxa::Block> blocks;
    for (int id = 1; id <= groups; ++id) {
        vxa::GroupRecord group = rectGroup(static_cast<int16_t>(id), 10, 10, 0);
        group.objects.resize(textsPerGroup, group.objects[0]);
        for (int i = 0; i < textsPerGroup; ++i) {
            vxa::ObjectRecord& text = group.objects[i];
            text.kind = vxa::ObjectKind::Text;
            text.fontName = i % 3 == 0 ? "Times" : "Geneva";
            text.size = static_cast<uint8_t>(i % 3 == 2 ? 14 : 12);
            text.text = "caption";
        }
        blocks.push_back(groupBlock({group}));
    }
    ASSERT_GT(groups * textsPerGroup, static_cast<int>(ObjectBuildContext::kMovieLimits.fonts));
    auto movie = whole(streamBytes(wideHeader({64, 48, groups, 2}), blocks));
    EXPECT_EQ(3u, movie->buildContext().live().fonts);
    int withFont = 0;
    for (int id = 1; id <= groups; ++id) {
        const ObjectGroup* group = movie->group(id);
        ASSERT_NE(nullptr, group) << id;
        for (size_t i = 0; i < group->objectCount(); ++i) {
            withFont += static_cast<const TextObject*>(group->object(i))->font() != nullptr;
        }
    }
    EXPECT_EQ(groups * textsPerGroup, withFont);
    EXPECT_TRUE(watcher_.boxes().empty());
}

TEST_F(MovieIntake, AFontPastTheBoundIsToldOnceItsBlockIsIn) {
    // One distinct font more than the movie may hold; the last group's text
    // asks for it. The box comes once the group is in the table: the host may
    // destroy the movie from inside it, so nothing may be half built then.
    const int fonts = static_cast<int>(ObjectBuildContext::kMovieLimits.fonts) + 1;
    const int textsPerGroup = 100;
    const int groups = (fonts + textsPerGroup - 1) / textsPerGroup;
    std::vector<vxa::Block> blocks;
    for (int id = 1; id <= groups; ++id) {
        vxa::GroupRecord group = rectGroup(static_cast<int16_t>(id), 10, 10, 0);
        group.objects.clear();
        for (int k = (id - 1) * textsPerGroup; k < std::min(fonts, id * textsPerGroup); ++k) {
            vxa::ObjectRecord text = rectGroup(1, 10, 10, 0).objects[0];
            text.kind = vxa::ObjectKind::Text;
            text.fontName = "Geneva";
            text.size = static_cast<uint8_t>(k % 255 + 1);
            text.style = static_cast<uint8_t>(k / 255);
            text.text = "x";
            group.objects.push_back(text);
        }
        blocks.push_back(groupBlock({group}));
    }
    const std::vector<uint8_t> bytes = streamBytes(wideHeader({64, 48, static_cast<int16_t>(groups), 2}), blocks);
    const vxa::Header header = wideHeader({});
    const size_t headerLength = vxa::headerSize(header.layout);
    Movie movie(bytes.data(), static_cast<int32_t>(headerLength), window_.object());
    bool lastGroupIn = false;
    insideBox_ = [&](const SeenBox&) { lastGroupIn = movie.group(groups) != nullptr; };
    movie.appendChunk(bytes.data() + headerLength, static_cast<int32_t>(bytes.size() - headerLength));
    ASSERT_EQ(1u, watcher_.boxes().size());
    EXPECT_EQ("Error", watcher_.boxes()[0].caption);
    EXPECT_EQ("This animation uses too many different fonts: text in MS Sans Serif, size 216, is drawn in the system "
              "font.",
              watcher_.boxes()[0].text);
    EXPECT_TRUE(lastGroupIn);
    EXPECT_EQ(ObjectBuildContext::kMovieLimits.fonts, movie.buildContext().live().fonts);
}

TEST_F(MovieIntake, GroupPastTheMovieBoundsIsRefusedWithItsBlock) {
    // Texts of 32,000 characters in groups of their own: the 126th passes the
    // movie's bound of 4,000,000 characters.
    const int groups = 130;
    std::vector<vxa::Block> blocks;
    for (int id = 1; id <= groups; ++id) {
        vxa::GroupRecord group = rectGroup(static_cast<int16_t>(id), 10, 10, 0);
        group.objects[0].kind = vxa::ObjectKind::Text;
        group.objects[0].fontName = "Arial";
        group.objects[0].text = std::string(32000, 'x');
        vxa::Block block = groupBlock({group});
        if (id == 126) block.frame = frameBlock(1, {place(1, 0, 0)}).frame;
        blocks.push_back(block);
    }
    auto movie = whole(streamBytes(wideHeader({64, 48, groups, 2}), blocks));
    EXPECT_NE(nullptr, movie->group(125));
    EXPECT_EQ(nullptr, movie->group(126));
    EXPECT_EQ(nullptr, movie->frame(1));  // it came with the refused group
    EXPECT_EQ(groups - 125, movie->rejectedBlocks());
    EXPECT_LE(movie->buildContext().live().characters, ObjectBuildContext::kMovieLimits.characters);
    EXPECT_EQ(1u, boxesSaying(messages::kDamagedAnimation));
}

}  // namespace

// The exporters and the web player show movies from the portable model: on
// every stream, whole or in chunks, it must hold what the plug-in holds.
TEST_F(MovieIntake, ThePortableModelHoldsWhatTheMovieHolds) {
    std::vector<uint8_t> damaged = streamBytes(wideHeader({64, 48, 2, 4}), {frameBlock(1, {place(1, 0, 0)})});
    append(damaged, {0x00, 0x09, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    append(damaged, blockBytes(frameBlock(5, {place(1, 0, 0)})));
    append(damaged, blockBytes(frameBlock(2, {repeat(), place(2, 3, 3), repeat()}, 4)));
    append(damaged, blockBytes(groupBlock({rectGroup(2, 4, 4, 0), rectGroup(1, 4, 4, 0)})));
    append(damaged, blockBytes(frameBlock(3, {place(3, 1, 1)})));
    append(damaged, {0x80, 0x00, 0x00, 0x02});
    const std::vector<std::vector<uint8_t>> streams = {
        exampleStream(),
        vxa::encodeStream(vxa::samples::richStream(vxa::Layout::Wide)),
        vxa::encodeStream(vxa::samples::richStream(vxa::Layout::Narrow)),
        damaged,
        streamBytes(wideHeader({64, 48, -2, -7}), {frameBlock(1, {})}),
    };
    for (size_t s = 0; s < streams.size(); ++s) {
        const std::vector<uint8_t>& bytes = streams[s];
        for (size_t chunk : {bytes.size(), size_t{7}}) {
            SCOPED_TRACE("stream " + std::to_string(s) + ", chunks of " + std::to_string(chunk));
            std::vector<size_t> cuts;
            for (size_t at = chunk; at < bytes.size(); at += chunk) cuts.push_back(at);
            auto movie = feed(bytes, cuts, window_.object());
            vxa::MovieModel model;
            for (size_t at = 0; at < bytes.size(); at += chunk)
                model.append(bytes.data() + at, std::min(chunk, bytes.size() - at));

            ASSERT_EQ(movie->frameCount(), model.frameCount());
            ASSERT_EQ(movie->groupCount(), model.groupCount());
            EXPECT_EQ(movie->loops() != 0, model.loops());
            EXPECT_EQ(movie->isWaitingForClick() != 0, model.waitsForClick());
            for (int n = 1; n <= movie->frameCount(); ++n) {
                const FrameRecord* expected = movie->frame(n);
                const FrameRecord* got = model.frame(n);
                ASSERT_EQ(expected == nullptr, got == nullptr) << "frame " << n;
                if (!expected) continue;
                EXPECT_EQ(expected->soundNumber, got->soundNumber);
                ASSERT_EQ(expected->items.size(), got->items.size());
                for (size_t i = 0; i < expected->items.size(); ++i) {
                    EXPECT_EQ(expected->items[i].groupId, got->items[i].groupId);
                    EXPECT_EQ(expected->items[i].x, got->items[i].x);
                    EXPECT_EQ(expected->items[i].y, got->items[i].y);
                }
            }
            for (int id = 1; id <= movie->groupCount(); ++id) {
                ASSERT_EQ(movie->group(id) == nullptr, model.group(id) == nullptr) << "group " << id;
                if (movie->group(id)) EXPECT_EQ(movie->group(id)->objectCount(), model.group(id)->objects.size());
            }
            ASSERT_EQ(static_cast<size_t>(movie->rejectedBlocks()), model.rejections().size());
            if (movie->rejectedBlocks()) EXPECT_EQ(movie->lastRejection(), model.rejections().back().reason);
        }
    }
}
