// The movie model fed with streams whole and in chunks: what enters its
// tables, what is left out and why, and where each block was.
#include <gtest/gtest.h>

#include <sstream>

#include "core/format/block_encoder.h"
#include "core/format/stream.h"
#include "core/model/block_acceptance.h"
#include "core/model/movie_model.h"
#include "sample_blocks.h"

namespace vxa {
namespace {

using Bytes = std::vector<uint8_t>;

// Every table entry and every refusal, one line each.
std::string describe(const MovieModel& movie) {
    std::ostringstream out;
    out << "frames " << movie.frameCount() << " groups " << movie.groupCount() << " loops " << movie.loops() << " wait "
        << movie.waitsForClick() << "\n";
    for (int n = 1; n <= movie.frameCount(); ++n) {
        const FrameRecord* frame = movie.frame(n);
        if (!frame) continue;
        out << "frame " << n << " from block " << movie.frameOrigin(n)->block << " sound " << frame->soundNumber << ":";
        for (const FrameItem& item : frame->items) {
            out << " (" << item.groupId << " " << item.x << " " << item.y << ")";
        }
        out << "\n";
    }
    for (int id = 1; id <= movie.groupCount(); ++id) {
        if (const auto group = movie.group(id)) {
            out << "group " << id << " from block " << movie.groupOrigin(id)->block << ": " << group->objects.size()
                << " objects\n";
        }
    }
    for (const MovieModel::Rejection& r : movie.rejections()) {
        out << "block " << r.place.block << " at " << r.place.offset << " left out: " << r.reason << "\n";
    }
    if (movie.pendingBytes()) out << "pending " << movie.pendingBytes() << "\n";
    return out.str();
}

Header header(int16_t groups, int16_t frames, Layout layout = Layout::Wide) {
    Header h;
    h.layout = layout;
    h.version = layout == Layout::Wide ? kFirstWideVersion : 0;
    h.width = 64;
    h.height = 48;
    h.frameRate = 10;
    h.groupCount = groups;
    h.frameCount = frames;
    return h;
}

Item place(int16_t group, int16_t x, int16_t y) {
    Item item;
    item.groupId = group;
    item.x = x;
    item.y = y;
    return item;
}
Item repeat() { return Item{0, 0, 0, 0, 0, 0, 0}; }

Block frameBlock(int16_t number, std::vector<Item> items, int16_t sound = 0) {
    Block block;
    block.frame.number = number;
    block.frame.items = std::move(items);
    block.frame.soundNumber = sound;
    return block;
}

Block groupBlock(int16_t id, size_t objects = 1) {
    Block block;
    GroupRecord group;
    group.id = id;
    group.widthMinus1 = 7;
    group.heightMinus1 = 7;
    group.objects.resize(objects);
    for (ObjectRecord& o : group.objects) o.kind = ObjectKind::Rect;
    block.groups.push_back(group);
    return block;
}

Bytes stream(const Header& h, const std::vector<Block>& blocks) { return encodeStream(Stream{h, blocks}); }

MovieModel fedWhole(const Bytes& bytes) {
    MovieModel movie;
    movie.append(bytes.data(), bytes.size());
    return movie;
}

TEST(MovieModel, BlocksEnterAsThePlugInEntersThem) {
    // A block cut after its frame number.
    Bytes cut = stream(header(2, 3), {frameBlock(1, {place(1, 1, 1)})});
    cut.resize(20 + 4);
    Bytes broken = stream(header(2, 3), {groupBlock(1)});
    broken.insert(broken.end(), {0x80, 0x00, 1, 2, 3});

    struct Case {
        const char* what;
        Bytes bytes;
        std::string tables;
    };
    const Case cases[] = {
      {"repeats copy the frame before, item by item",
       stream(header(2, 3), {groupBlock(1), frameBlock(1, {place(1, 10, 20), place(1, 5, 5)}),
                             frameBlock(2, {repeat(), place(2, 3, 4), repeat()}, 7)}),
       "frames 3 groups 2 loops 0 wait 0\n"
       "frame 1 from block 1 sound 0: (1 10 20) (1 5 5)\n"
       "frame 2 from block 2 sound 7: (1 10 20) (2 3 4) (0 0 0)\n"
       "group 1 from block 0: 1 objects\n"},
      {"a repeat without a frame before it names no group",
       stream(header(2, 3), {frameBlock(3, {repeat()}), frameBlock(1, {repeat()})}),
       "frames 3 groups 2 loops 0 wait 0\n"
       "frame 1 from block 1 sound 0: (0 0 0)\n"
       "frame 3 from block 0 sound 0: (0 0 0)\n"},
      {"what arrives again replaces what was there",
       stream(header(2, 3), {groupBlock(2, 1), frameBlock(1, {place(2, 1, 1)}), groupBlock(2, 3),
                             frameBlock(1, {place(1, 9, 9)})}),
       "frames 3 groups 2 loops 0 wait 0\n"
       "frame 1 from block 3 sound 0: (1 9 9)\n"
       "group 2 from block 2: 3 objects\n"},
      {"numbers outside the tables leave the whole block out",
       stream(header(2, 3), {frameBlock(4, {}), frameBlock(1, {place(3, 0, 0)}), groupBlock(0),
                             frameBlock(2, {place(2, 0, 0)})}),
       "frames 3 groups 2 loops 0 wait 0\n"
       "frame 2 from block 3 sound 0: (2 0 0)\n"
       "block 0 at 20 left out: frame number 4 is outside 1..3\n"
       "block 1 at 30 left out: item 0 of frame 1 names group 3, outside 1..2\n"
       "block 2 at 51 left out: group record 0 has id 0, outside 1..2\n"},
      {"a damaged block is left out and the next one read", [&] {
         Bytes bytes = stream(header(2, 3), {frameBlock(1, {place(1, 1, 1)}), groupBlock(1)});
         bytes[20 + 2 + 2] = 2;  // two items where there is one
         return bytes;
       }(),
       "frames 3 groups 2 loops 0 wait 0\n"
       "group 1 from block 1: 1 objects\n"
       "block 0 at 20 left out: group record count runs past the end of the block (offset 18)\n"},
      {"a block that never completes stays pending", cut,
       "frames 3 groups 2 loops 0 wait 0\npending 4\n"},
      {"a length of 0x8000 ends the reading", broken,
       "frames 3 groups 2 loops 0 wait 0\n"
       "group 1 from block 0: 1 objects\n"
       "block 1 at 47 left out: " + std::string(kBrokenStreamReason) + "\npending 5\n"},
      {"a narrow stream neither loops nor waits",
       stream(header(1, 1, Layout::Narrow), {frameBlock(1, {place(1, 2, 3)})}),
       "frames 1 groups 1 loops 0 wait 0\nframe 1 from block 0 sound 0: (1 2 3)\n"},
      {"negative table sizes are empty tables", stream(header(-2, -1), {frameBlock(1, {})}),
       "frames 0 groups 0 loops 0 wait 0\n"
       "block 0 at 20 left out: frame number 1 is outside the frame table, which is empty\n"},
  };
    for (const Case& c : cases) EXPECT_EQ(describe(fedWhole(c.bytes)), c.tables) << c.what;
}

TEST(MovieModel, EveryChunkingLeavesTheSameTables) {
    for (const Layout layout : {Layout::Wide, Layout::Narrow}) {
        Bytes bytes = encodeStream(samples::richStream(layout));
        bytes.insert(bytes.end(), {0x00, 0x30, 1});  // and an unfinished tail
        const std::string whole = describe(fedWhole(bytes));
        for (size_t chunk = 1; chunk <= 41; chunk += 4) {
            MovieModel movie;
            for (size_t at = 0; at < bytes.size(); at += chunk) {
                movie.append(bytes.data() + at, std::min(chunk, bytes.size() - at));
            }
            EXPECT_EQ(describe(movie), whole) << "chunks of " << chunk;
        }
    }
}

TEST(MovieModel, ARepeatAfterItsFrameWasLetGoCopiesNothing) {
    const Bytes first = stream(header(1, 3), {groupBlock(1), frameBlock(1, {place(1, 4, 4)})});
    MovieModel movie = fedWhole(first);
    ASSERT_EQ(movie.header().frameRate, 10);
    EXPECT_EQ(movie.blocksRead(), 2u);
    movie.releaseFrame(1);
    Bytes second;
    encodeBlock(frameBlock(2, {repeat()}), Layout::Wide, second);
    movie.append(second.data(), second.size());
    ASSERT_NE(movie.frame(2), nullptr);
    EXPECT_EQ(movie.frame(2)->items[0].groupId, 0);
    EXPECT_EQ(movie.frame(1), nullptr);
}

}  // namespace
}  // namespace vxa
