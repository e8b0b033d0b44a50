// Movies played through the timeline by schedules of arrival and clicks:
// the frames shown and when, the sound cues, and why each run ends.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "core/format/stream.h"
#include "core/timeline/timeline.h"

namespace playback {
namespace {

using Bytes = std::vector<uint8_t>;

struct Movie {
    int16_t frames = 10;
    uint8_t rate = 10;
    bool loop = false;
    bool wait = false;
    std::map<int16_t, int16_t> sounds;  // frame -> sound number
    int16_t lateGroupFrame = 0;         // that frame places group 2, sent last
    std::vector<int16_t> missing;       // frames never sent
};

// Frame n places group 1 (or 2) at x = n.
Bytes build(const Movie& m) {
    vxa::Stream stream;
    stream.header.width = 64;
    stream.header.height = 16;
    stream.header.frameRate = m.rate;
    stream.header.loop = m.loop;
    stream.header.wait = m.wait;
    stream.header.groupCount = 2;
    stream.header.frameCount = m.frames;
    auto group = [](int16_t id) {
        vxa::Block block;
        block.groups.push_back(vxa::GroupRecord{id, 0, 7, 7, {}});
        return block;
    };
    stream.blocks.push_back(group(1));
    for (int16_t n = 1; n <= m.frames; ++n) {
        if (std::find(m.missing.begin(), m.missing.end(), n) != m.missing.end()) continue;
        vxa::Block block;
        block.frame.number = n;
        const auto sound = m.sounds.find(n);
        block.frame.soundNumber = sound == m.sounds.end() ? 0 : sound->second;
        vxa::Item item;
        item.groupId = n == m.lateGroupFrame ? 2 : 1;
        item.x = n;
        block.frame.items.push_back(item);
        stream.blocks.push_back(block);
    }
    if (m.lateGroupFrame) stream.blocks.push_back(group(2));
    return vxa::encodeStream(stream);
}

struct Played {
    std::vector<std::pair<uint32_t, int>> frames;  // (ms, frame)
    std::string cues;
    TimelineEnd end;
};

class Lengths : public SoundLibrary {
public:
    explicit Lengths(std::map<int16_t, uint32_t> lengths) : lengths_(std::move(lengths)) {}
    std::optional<uint32_t> soundLength(int16_t number) const override {
        const auto found = lengths_.find(number);
        if (found == lengths_.end()) return std::nullopt;
        return found->second;
    }

private:
    std::map<int16_t, uint32_t> lengths_;
};

Played play(const Bytes& bytes, const Schedule& schedule, uint32_t until = 5000, const SoundLibrary* sounds = nullptr) {
    Played played;
    std::ostringstream cues;
    played.end = runTimeline(bytes, schedule, sounds, [&](const TimerStep& step, const MoviePlayer&) {
        if (step.shown) played.frames.emplace_back(step.at, step.shown);
        for (const CueEvent& cue : step.cues) {
            const char* kinds[] = {"start", "again", "stop"};
            cues << step.at << " " << kinds[static_cast<int>(cue.kind)] << " " << cue.number
                 << (cue.kind != CueEvent::Kind::Stop && !cue.audible ? " (silent)" : "") << "; ";
        }
        return step.at < until;
    });
    played.cues = cues.str();
    return played;
}

std::vector<int> order(const Played& played) {
    std::vector<int> frames;
    for (const auto& [ms, n] : played.frames) frames.push_back(n);
    return frames;
}

std::vector<uint32_t> gaps(const Played& played) {
    std::vector<uint32_t> result;
    for (size_t i = 1; i < played.frames.size(); ++i) {
        result.push_back(played.frames[i].first - played.frames[i - 1].first);
    }
    return result;
}

TEST(Timeline, RatesAreServedByWholeTimerPeriods) {
    // Each frame comes with the first timer message at least 1000 / rate ms
    // after the one before.
    const std::pair<uint8_t, uint32_t> cases[] = {{10, 100}, {24, 60}, {50, 20}, {12, 100}, {200, 20}, {0, 1000}};
    for (const auto& [rate, gap] : cases) {
        Movie movie;
        movie.rate = rate;
        const Played played = play(build(movie), Schedule::wholeStream(build(movie).size()), 20000);
        EXPECT_EQ(order(played), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10})) << int(rate);
        EXPECT_EQ(played.frames.front().first, 20u) << "the first timer message after the stream's end";
        EXPECT_EQ(gaps(played), std::vector<uint32_t>(9, gap)) << int(rate);
        EXPECT_EQ(played.end.reason, TimelineEnd::Reason::Ended);
    }
}

TEST(Timeline, LoopsReturnToFrameSixAndHoldsWaitForAClick) {
    Movie looping;
    looping.frames = 8;
    looping.rate = 50;
    looping.loop = true;
    const Bytes loop = build(looping);
    const Played loops = play(loop, Schedule::wholeStream(loop.size()), 20 * 14);
    EXPECT_EQ(order(loops), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 6, 7, 8, 6, 7, 8}));
    EXPECT_EQ(loops.end.reason, TimelineEnd::Reason::Cut);

    Movie waiting;
    waiting.wait = true;
    const Bytes wait = build(waiting);
    Schedule clickLater = Schedule::wholeStream(wait.size());
    clickLater.clicks = {1990};
    const Played clicked = play(wait, clickLater);
    EXPECT_EQ(clicked.frames[5], (std::pair<uint32_t, int>{520, 6}));
    EXPECT_EQ(clicked.frames[6], (std::pair<uint32_t, int>{2000, 7})) << "the first timer message after the click";

    Schedule policy = Schedule::wholeStream(wait.size());
    policy.clickAfterHold = 1000;
    const Played held = play(wait, policy);
    EXPECT_EQ(held.frames[6], (std::pair<uint32_t, int>{1520, 7}))
        << "a click 1000 ms after frame 6 showed comes before the timer message of that moment";
    EXPECT_EQ(held.end.reason, TimelineEnd::Reason::Ended);

    const Played forever = play(wait, Schedule::wholeStream(wait.size()));
    EXPECT_EQ(forever.end.reason, TimelineEnd::Reason::Held);
    EXPECT_EQ(forever.end.currentFrame, 6);
}

TEST(Timeline, LateDataIsWaitedForAndShownAtOnce) {
    Movie movie;
    const Bytes bytes = build(movie);
    // The stream's first 100 bytes at 0 (header, group and frames 1 to 3),
    // 5 more at 300, which start the timer, and the rest at 1490.
    Schedule late;
    late.chunks = {{0, 100}, {300, 5}, {1490, bytes.size()}};
    late.streamEnd = 1600;
    const Played played = play(bytes, late);
    EXPECT_EQ(order(played), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    const auto shownAt = [&](int n) { return played.frames[n - 1].first; };
    EXPECT_EQ(shownAt(1), 320u) << "the timer starts with the second chunk";
    EXPECT_EQ(shownAt(3), 520u);
    EXPECT_EQ(shownAt(4), 1500u) << "the frame that came late shows at the next timer message";
    EXPECT_EQ(shownAt(5), 1600u);

    // A group that comes late holds up the frame that places it.
    Movie lateGroup;
    lateGroup.lateGroupFrame = 3;
    const Bytes withGroup = build(lateGroup);
    Schedule groupLate;
    groupLate.chunks = {{0, 20}, {0, withGroup.size() - 29}, {990, 9}};
    groupLate.streamEnd = 990;
    const Played waited = play(withGroup, groupLate);
    ASSERT_EQ(order(waited), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(waited.frames[2].first, 1000u);

    // One chunk and no end: the timer never starts.
    Schedule oneChunk;
    oneChunk.chunks = {{0, bytes.size()}};
    const Played idle = play(bytes, oneChunk);
    EXPECT_TRUE(idle.frames.empty());
    EXPECT_EQ(idle.end.reason, TimelineEnd::Reason::Stopped);
}

TEST(Timeline, StallsWhereAFrameOrGroupNeverArrives) {
    Movie gap;
    gap.missing = {4};
    const Bytes bytes = build(gap);
    const Played stalled = play(bytes, Schedule::wholeStream(bytes.size()));
    EXPECT_EQ(order(stalled), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(stalled.end.reason, TimelineEnd::Reason::Stalled);
    EXPECT_EQ(stalled.end.currentFrame, 3);

    Movie noGroup;
    noGroup.lateGroupFrame = 2;
    Bytes cut = build(noGroup);
    cut.resize(cut.size() - 9);  // group 2 never comes
    const Played waiting = play(cut, Schedule::wholeStream(cut.size()));
    EXPECT_EQ(order(waiting), (std::vector<int>{1}));
    EXPECT_EQ(waiting.end.reason, TimelineEnd::Reason::Stalled);
}

// Drawing stops at the frame's budget, and a group named after that point is
// never looked at: frame 1 shows without group 2, frame 2 (group 2 first) waits.
TEST(Timeline, AGroupPastTheBudgetIsNotWaitedFor) {
    vxa::ObjectRecord circle;
    circle.kind = vxa::ObjectKind::Oval;
    circle.right = circle.bottom = 255;
    circle.lineWidth = 2;
    circle.fillPattern = 255;
    vxa::Stream stream;
    stream.header.width = stream.header.height = 64;
    stream.header.frameRate = 10;
    stream.header.groupCount = 2;
    stream.header.frameCount = 2;
    vxa::Block heavy;
    heavy.groups.push_back(vxa::GroupRecord{1, 0, 255, 255, std::vector<vxa::ObjectRecord>(30, circle)});
    stream.blocks.push_back(heavy);
    for (int16_t n = 1; n <= 2; ++n) {
        vxa::Block block;
        block.frame.number = n;
        for (int id : {n == 1 ? 1 : 2, n == 1 ? 2 : 1}) {
            vxa::Item item;
            item.groupId = static_cast<int16_t>(id);
            block.frame.items.push_back(item);
        }
        stream.blocks.push_back(block);
    }
    const Bytes bytes = vxa::encodeStream(stream);
    const Played played = play(bytes, Schedule::wholeStream(bytes.size()));
    EXPECT_EQ(order(played), (std::vector<int>{1}));
    EXPECT_EQ(played.end.reason, TimelineEnd::Reason::Stalled);
    EXPECT_EQ(played.end.currentFrame, 1);
}

TEST(Timeline, SoundCuesStartCarryOnRestartAndStop) {
    Movie movie;
    movie.rate = 50;
    // Sound 7 on frame 1, carried on through 2 to 4; sound 9 on frames 5 to
    // 8, 50 ms long, so it starts again once it has ended; nothing on 9;
    // sound 4 on frame 10 has no file.
    movie.sounds = {{1, 7}, {5, 9}, {6, 9}, {7, 9}, {8, 9}, {10, 4}};
    const Bytes bytes = build(movie);
    const Lengths lengths({{7, 1000}, {9, 50}});
    const Played played = play(bytes, Schedule::wholeStream(bytes.size()), 5000, &lengths);
    EXPECT_EQ(played.cues, "20 start 7; 100 stop 7; 100 start 9; 160 again 9; 180 stop 9; 200 start 4 (silent); ");
    // Without a sound folder no cue is made at all.
    EXPECT_EQ(play(bytes, Schedule::wholeStream(bytes.size())).cues, "");
}

TEST(Timeline, AClickPausesAndTheNextResumes) {
    Movie movie;
    const Bytes bytes = build(movie);
    Schedule schedule = Schedule::wholeStream(bytes.size());
    schedule.clicks = {250, 1010};
    const Played played = play(bytes, schedule);
    EXPECT_EQ(order(played), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(played.frames[2].first, 220u);
    EXPECT_EQ(played.frames[3].first, 1030u) << "the timer starts again with the second click";
}

}  // namespace
}  // namespace playback
