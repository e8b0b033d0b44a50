// What a movie holds of the heap: everything it took is given back when it
// is destroyed, however far its stream got, and an allocation that fails
// anywhere in the intake leaves tables that play and are freed whole.
//
// This program counts every allocation through operator new and can make
// one of them fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "message_box_watcher.h"
#include "movie_test_support.h"
#include "plugin/messages.h"

namespace {

long liveAllocations = 0;
long allocationsMade = 0;
// Counts down to the allocation that is made to fail; 0: none is.
long failCountdown = 0;
bool failed = false;

void* allocate(size_t size) {
    if (failCountdown > 0 && --failCountdown == 0) {
        failed = true;
        throw std::bad_alloc();
    }
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    ++liveAllocations;
    ++allocationsMade;
    return block;
}

void release(void* block) noexcept {
    if (!block) return;
    --liveAllocations;
    std::free(block);
}

}  // namespace

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, size_t) noexcept { release(block); }
void operator delete[](void* block, size_t) noexcept { release(block); }

using namespace movietest;

namespace {

// Groups with every kind that holds memory of its own (points, text, a
// font), frames with repeats, a group replaced.
std::vector<vxa::Block> blocks() {
    vxa::GroupRecord shapes = rectGroup(2, 50, 40, 35);
    vxa::ObjectRecord polygon;
    polygon.kind = vxa::ObjectKind::Polygon;
    polygon.points = {{0, 0}, {40, 10}, {10, 39}, {3, 3}};
    vxa::ObjectRecord text;
    text.kind = vxa::ObjectKind::Text;
    text.right = 50;
    text.bottom = 20;
    text.size = 10;
    text.fontName = "Times New Roman";
    text.text = "a caption\rover two lines";
    vxa::ObjectRecord comment;
    comment.kind = vxa::ObjectKind::Comment;
    comment.skipped = "note";
    shapes.objects.insert(shapes.objects.end(), {polygon, text, comment});
    return {
        groupBlock({rectGroup(1, 10, 10, 210), shapes}),
        frameBlock(1, {place(1, 0, 0), place(2, 5, 5)}),
        frameBlock(2, {repeat(), repeat(), place(1, 20, 20)}),
        groupBlock({rectGroup(1, 12, 12, 185), shapes}),
        frameBlock(3, {repeat(), place(2, 1, 1)}),
    };
}

const vxa::Header kHeader = wideHeader({80, 60, 3, 6});

// How many frames from frame 1 on are there with every group they place.
int leadingCompleteFrames(const Movie& movie) {
    int n = 0;
    for (; n < movie.frameCount(); ++n) {
        const FrameRecord* record = movie.frame(static_cast<int16_t>(n + 1));
        if (!record) break;
        for (const FrameItem& item : record->items)
            if (item.groupId != 0 && !movie.group(item.groupId)) return n;
    }
    return n;
}

class MovieMemory : public ::testing::Test {
protected:
    MovieMemory() : window_(80, 60) {
        // Statics that live for the whole program are made now, outside
        // every count, and so is the watcher's record of one box.
        const std::vector<uint8_t> bytes = streamBytes(kHeader, blocks());
        auto movie = feed(bytes, {}, window_.object());
        movie->tick(movie->getBounds());
        MessageBoxA(nullptr, "warm-up", "warm-up", MB_OK);
        watcher_.clear();
    }

    // The boxes seen so far, forgotten, so that their texts are not counted.
    std::vector<SeenBox> takeBoxes() {
        std::vector<SeenBox> seen;
        for (const SeenBox& box : watcher_.boxes()) seen.push_back(box);
        watcher_.clear();
        return seen;
    }

    MessageBoxWatcher watcher_;
    TestWindow window_;
};

TEST_F(MovieMemory, MovieWhoseStreamStoppedHalfWayFreesEverything) {
    const std::vector<uint8_t> bytes = streamBytes(kHeader, blocks());
    for (size_t end : {size_t{3}, size_t{21}, bytes.size() / 2, bytes.size() - 1, bytes.size()}) {
        const long before = liveAllocations;
        {
            auto movie = feed(std::vector<uint8_t>(bytes.begin(), bytes.begin() + end), {}, window_.object());
            if (end > bytes.size() / 2) {
                EXPECT_GT(movie->buildContext().live().objects, 0u);
            }
            EXPECT_GT(liveAllocations, before);
        }
        EXPECT_EQ(before, liveAllocations) << "stream cut at " << end;
    }
    EXPECT_TRUE(watcher_.boxes().empty());
}

TEST_F(MovieMemory, EveryFailedAllocationInTheIntakeKeepsWhatWasComplete) {
    const std::vector<uint8_t> bytes = streamBytes(kHeader, blocks());
    std::vector<uint8_t> headerOnly;
    vxa::encodeHeader(kHeader, headerOnly);
    const std::vector<uint8_t> rest(bytes.begin() + static_cast<long>(headerOnly.size()), bytes.end());

    // The tables after each whole number of blocks.
    std::vector<std::string> complete;
    std::vector<uint8_t> prefix = headerOnly;
    complete.push_back(dumpTables(*feed(prefix, {}, window_.object())));
    for (const vxa::Block& block : blocks()) {
        append(prefix, blockBytes(block));
        complete.push_back(dumpTables(*feed(prefix, {}, window_.object())));
    }

    int failures = 0;
    for (long k = 1;; ++k) {
        const long before = liveAllocations;
        {
            Movie movie(headerOnly.data(), static_cast<int32_t>(headerOnly.size()), window_.object());
            failed = false;
            failCountdown = k;
            movie.appendChunk(rest.data(), static_cast<int32_t>(rest.size()));
            failCountdown = 0;
            if (!failed) {
                EXPECT_EQ(complete.back(), dumpTables(movie));
                break;
            }
            const std::vector<SeenBox> boxes = takeBoxes();
            if (boxes.empty()) {
                // A polygon does without its points rather than fail: the
                // intake went on.
                EXPECT_TRUE(movie.takingData()) << "allocation " << k;
                EXPECT_EQ(complete.back(), dumpTables(movie)) << "allocation " << k;
            } else {
                ++failures;
                ASSERT_EQ(1u, boxes.size()) << "allocation " << k;
                EXPECT_EQ(messages::kNotEnoughMemory, boxes[0].text);
                EXPECT_EQ("Error", boxes[0].caption);
                EXPECT_FALSE(movie.takingData());
                const std::string tables = dumpTables(movie);
                EXPECT_NE(complete.end(), std::find(complete.begin(), complete.end(), tables))
                    << "allocation " << k << " left\n" << tables;
                // Nothing more is taken in.
                movie.appendChunk(rest.data(), static_cast<int32_t>(rest.size()));
                EXPECT_EQ(tables, dumpTables(movie));
                // What is there plays.
                EXPECT_EQ(movie.frame(1) ? 1 : 0, movie.renderFrame(1, movie.getBounds()));
            }
        }
        EXPECT_EQ(before, liveAllocations) << "allocation " << k;
    }
    EXPECT_GT(failures, 20);
}

TEST_F(MovieMemory, APictureTooLargeIsToldAndLeavesAnEmptyMovie) {
    const struct {
        int16_t width, height;
        bool made;
    } rows[] = {{80, 60, true},       {32767, 1, true},      {4096, 4096, true},
                // Over the largest picture a player makes, though the platform could make it.
                {4097, 4096, false}, {4000, 32767, false}, {32767, 32767, false}};
    for (const auto& row : rows) {
        const long before = liveAllocations;
        {
            auto movie = feed(streamBytes(wideHeader({row.width, row.height, 3, 6}), blocks()), {}, window_.object());
            const std::vector<SeenBox> boxes = takeBoxes();
            EXPECT_EQ(row.made, movie->offscreen() != nullptr) << row.width << " x " << row.height;
            EXPECT_EQ(row.made, movie->takingData());
            EXPECT_EQ(row.made ? 6 : 0, movie->frameCount());
            // Every row reports, also after one has failed.
            EXPECT_EQ(row.made ? 0u : 1u, boxes.size());
            if (!row.made && !boxes.empty()) {
                EXPECT_EQ(messages::kNotEnoughMemory, boxes[0].text);
            }
            movie->resetPlayback();
            EXPECT_EQ(row.made ? 1 : 0, movie->tick(movie->getBounds()));
        }
        EXPECT_EQ(before, liveAllocations);
    }
}

TEST_F(MovieMemory, FailedAllocationWhileSettingUpLeavesAMovieThatEnds) {
    const std::vector<uint8_t> bytes = streamBytes(kHeader, blocks());
    int failures = 0;
    for (long k = 1;; ++k) {
        const long before = liveAllocations;
        failed = false;
        failCountdown = k;
        ManualClock clock;
        std::unique_ptr<Movie> made;
        try {
            made = std::make_unique<Movie>(bytes.data(), static_cast<int32_t>(bytes.size()), window_.object(),
                                           clock);
        } catch (const std::bad_alloc&) {
            // The movie itself could not be made, as when new Movie fails:
            // the caller's to handle. Only its first allocations may do that.
            EXPECT_LE(k, 2) << "allocation " << k;
            failCountdown = 0;
            EXPECT_EQ(before, liveAllocations);
            continue;
        }
        failCountdown = 0;
        {
            std::unique_ptr<Movie> movieOwner = std::move(made);
            Movie& movie = *movieOwner;
            if (!failed) break;
            // A failure absorbed by a polygon, as above, raises no box.
            const std::vector<SeenBox> boxes = takeBoxes();
            failures += !boxes.empty();
            ASSERT_LE(boxes.size(), 1u) << "allocation " << k;
            if (!boxes.empty()) {
                EXPECT_EQ(messages::kNotEnoughMemory, boxes[0].text);
            }
            // Plays the frames it has, in order, up to the first one that is
            // missing or places a missing group, and waits there.
            const int complete = leadingCompleteFrames(movie);
            movie.resetPlayback();
            for (int step = 0; step <= movie.frameCount(); ++step) {
                clock.advance(1000);
                movie.tick(movie.getBounds());
            }
            EXPECT_EQ(complete, movie.currentFrame()) << "allocation " << k;
            // The frame showing can be drawn again.
            EXPECT_EQ(complete > 0 ? 1 : 0, movie.renderFrame(movie.currentFrame(), movie.getBounds()));
        }
        EXPECT_EQ(before, liveAllocations) << "allocation " << k;
    }
    EXPECT_GT(failures, 20);
}

}  // namespace
