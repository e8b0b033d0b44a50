// Frames composed off screen and copied to a real window, and the sound
// step seen through the MCI command strings it causes, with real WAV files
// in a sound directory that the host's registry entry points to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "graphics/offscreen_surface.h"
#include "message_box_watcher.h"
#include "movie/object_group.h"
#include "movie_test_support.h"
#include "plugin/messages.h"
#include "core/model/frame_budget.h"
#include "sound/mci_device.h"
#include "sound/sound_cue.h"

using namespace movietest;

namespace {

using Commands = std::vector<std::string>;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);   // index 35, a plain colour
constexpr COLORREF kBlue = RGB(0, 0, 255);  // index 210

// The host's installation with a sound directory below it.
class InstalledSounds {
public:
    InstalledSounds()
        : tree_("zured16 render "),
          install_(tree_.makeFolder("Navigator Install")),
          sounds_(tree_.makeFolder("Navigator Install\\PROGRAM\\PLUGINS\\VXA_WAV")),
          value_(install_.c_str()) {}
    void add(const std::string& name, int milliseconds) { writeSilentWav(sounds_ + "\\" + name, milliseconds); }

private:
    TempTree tree_;
    std::string install_;
    std::string sounds_;
    ScopedInstallDirectory value_;
};

class FrameRendering : public ::testing::Test {
protected:
    FrameRendering()
        : watcher_(true, [this](const SeenBox& box) {
              if (insideBox_) insideBox_(box);
          }),
          window_(64, 48, 300, 200) {
        sounds_.add("7.WAV", 4000);
        sounds_.add("9.WAV", 4000);
        sounds_.add("-3.WAV", 4000);
        sounds_.add("5.WAV", 120);  // ends within a few frames
        MciDevice::setCommandObserver([this](const std::string& command, unsigned long result) {
            commands_.push_back(command);
            log_.push_back(command + " -> " + std::to_string(result));
        });
    }
    ~FrameRendering() override {
        movie_.reset();
        MciDevice::setCommandObserver(nullptr);
    }

    void load(const HeaderFields& fields, const std::vector<vxa::Block>& blocks) {
        movie_ = feed(streamBytes(wideHeader(fields), blocks), {}, window_.object(), clock_);
        movie_->resetPlayback();
    }
    int tick() {
        clock_.advance(100);
        return movie_->tick(movie_->getBounds());
    }
    // Frames 1..sounds.size() placing group 1, with these sound numbers.
    void loadSounds(const std::vector<int16_t>& sounds, std::vector<vxa::Block> more = {}) {
        std::vector<vxa::Block> blocks{groupBlock({rectGroup(1, 8, 8, 35)})};
        for (size_t i = 0; i < sounds.size(); ++i)
            blocks.push_back(frameBlock(static_cast<int16_t>(i + 1), {place(1, 0, 0)}, sounds[i]));
        blocks.insert(blocks.end(), more.begin(), more.end());
        load({64, 48, 2, static_cast<int16_t>(sounds.size() + 4), 10, 1, 1}, blocks);
        commands_.clear();
    }
    std::string path(const std::string& file) const { return movie_->soundDirectory() + file; }
    std::string alias() const { return movie_->sound()->alias(); }
    COLORREF offscreenPixel(int x, int y) const { return GetPixel(movie_->offscreen()->handle(), x, y); }
    struct Pixel {
        int x, y;
        COLORREF color;
    };
    void expectWindow(std::initializer_list<Pixel> pixels) const {
        for (const Pixel& p : pixels) EXPECT_EQ(p.color, window_.pixel(p.x, p.y)) << "at " << p.x << "," << p.y;
    }
    ::testing::AssertionResult playsToItsEnd() {
        // A generous bound: a busy machine delays the driver's end of play.
        const DWORD start = GetTickCount();
        while (movie_->sound() && movie_->sound()->isPlaying() && GetTickCount() - start < 15000) runMessages(10);
        if (movie_->sound() && !movie_->sound()->isPlaying()) return ::testing::AssertionSuccess();
        // What MCI was told and what it answered, for the driver's part in it.
        ::testing::AssertionResult failure = ::testing::AssertionFailure() << "the sound did not end; MCI log:";
        for (const std::string& line : log_) failure << "\n  " << line;
        for (const SeenBox& box : watcher_.boxes()) failure << "\n  box: " << box.text;
        return failure;
    }

    InstalledSounds sounds_;
    std::function<void(const SeenBox&)> insideBox_;
    MessageBoxWatcher watcher_;
    TestWindow window_;
    ManualClock clock_;
    Commands commands_;
    Commands log_;
    std::unique_ptr<Movie> movie_;
};

TEST_F(FrameRendering, PlacedGroupsReachTheWindowInOneCopy) {
    load({64, 48, 2, 3},
         {groupBlock({rectGroup(1, 16, 16, 35), rectGroup(2, 8, 8, 210)}),
          frameBlock(1, {place(1, 10, 20), place(2, 14, 24)}), frameBlock(2, {}),
          frameBlock(3, {place(1, 40, 0), place(2, 0, 0)})});
    const RECT bounds = movie_->getBounds();
    ASSERT_EQ(1, movie_->renderFrame(1, bounds));
    // The later item covers the earlier.
    expectWindow({{5, 5, kWhite}, {11, 21, kRed}, {15, 25, kBlue}, {24, 34, kRed}, {26, 36, kWhite}});
    EXPECT_EQ(kBlue, offscreenPixel(15, 25));

    // No items: the plain background, and still a frame shown.
    ASSERT_EQ(1, movie_->renderFrame(2, bounds));
    expectWindow({{11, 21, kWhite}, {15, 25, kWhite}});

    // A frame past the table draws nothing and counts as shown; frame 0 and
    // negative numbers name no frame.
    ASSERT_EQ(1, movie_->renderFrame(1, bounds));
    EXPECT_EQ(1, movie_->renderFrame(4, bounds));
    EXPECT_EQ(0, movie_->renderFrame(0, bounds));
    EXPECT_EQ(0, movie_->renderFrame(-2, bounds));
    EXPECT_EQ(kRed, window_.pixel(11, 21));
}

// A frame that asks for more drawing than a frame may do is drawn up to the
// first object past the budget, shown, and told once per movie; playback
// goes on.
TEST_F(FrameRendering, AFrameOverTheDrawingBudgetIsCutToldOnceAndPlaybackGoesOn) {
    const auto squareAt = [](int x, int colourIndex) {
        vxa::ObjectRecord square = rectGroup(1, 8, 8, colourIndex).objects[0];
        square.left = static_cast<uint8_t>(x);
        square.right = static_cast<uint8_t>(x + 8);
        return square;
    };
    // A red square, a polygon costing more than a whole frame, a blue square.
    vxa::GroupRecord overBudget = rectGroup(4, 64, 8, 35);
    vxa::ObjectRecord zigzag = squareAt(0, 35);
    zigzag.kind = vxa::ObjectKind::Polygon;
    for (int i = 0; i < 16000; ++i) zigzag.points.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i % 2 * 255)});
    ASSERT_GT(vxa::drawingCost(zigzag), vxa::kFrameDrawingBound);
    overBudget.objects = {squareAt(40, 35), zigzag, squareAt(50, 210)};
    // 2,500 rectangles with nothing to show, placed 255 times.
    vxa::GroupRecord many = rectGroup(5, 8, 8, 0);
    many.objects.assign(2500, squareAt(0, 0));
    for (vxa::ObjectRecord& object : many.objects) object.fillPattern = 255;
    std::vector<vxa::Item> hostile(254, place(5, 0, 0));
    hostile.push_back(place(3, 20, 20));
    load({64, 48, 5, 3},
         {groupBlock({rectGroup(1, 8, 8, 210), rectGroup(3, 8, 8, 35), overBudget}), groupBlock({many}),
          frameBlock(1, {place(1, 0, 0), place(4, 0, 20), place(3, 20, 0)}), frameBlock(2, hostile),
          frameBlock(3, {place(3, 20, 20)})});

    EXPECT_EQ(1, tick());
    // Drawn up to the polygon; neither what follows it in its group nor the
    // item after.
    expectWindow({{2, 2, kBlue}, {42, 22, kRed}, {52, 22, kWhite}, {22, 2, kWhite}});
    ASSERT_EQ(1u, watcher_.boxes().size());
    EXPECT_EQ(messages::kDamagedAnimation, watcher_.boxes()[0].text);
    EXPECT_EQ(messages::kWarningCaption, watcher_.boxes()[0].caption);

    // Cut early among its 254 placements: the square after them is not drawn.
    EXPECT_EQ(1, tick());
    EXPECT_EQ(2, movie_->currentFrame());
    expectWindow({{22, 22, kWhite}});
    movie_->repaintCurrentFrame(movie_->getBounds());
    tick();  // the last frame: the timer may stop after it
    EXPECT_EQ(3, movie_->currentFrame());
    expectWindow({{22, 22, kRed}});
    EXPECT_EQ(1u, watcher_.boxes().size()) << "once per movie";
}

TEST_F(FrameRendering, MissingGroupOrRecordLeavesTheWindowAsItWas) {
    load({64, 48, 3, 3},
         {groupBlock({rectGroup(1, 16, 16, 35)}), frameBlock(1, {place(1, 0, 0)}),
          frameBlock(2, {place(1, 30, 30), place(3, 0, 0)})});
    const RECT bounds = movie_->getBounds();
    ASSERT_EQ(1, movie_->renderFrame(1, bounds));
    EXPECT_EQ(0, movie_->renderFrame(2, bounds));  // group 3 has not arrived
    EXPECT_EQ(0, movie_->renderFrame(3, bounds));  // frame 3 has not arrived
    expectWindow({{2, 2, kRed}, {32, 32, kWhite}});
    // Composing went as far as the missing group.
    EXPECT_EQ(kRed, offscreenPixel(32, 32));
}

TEST_F(FrameRendering, RepeatWithNothingToCopyDrawsNothing) {
    load({64, 48, 2, 1}, {groupBlock({rectGroup(1, 16, 16, 35)}), frameBlock(1, {repeat(), place(1, 4, 4)})});
    ASSERT_EQ(0, movie_->frame(1)->items[0].groupId);
    EXPECT_EQ(1, movie_->renderFrame(1, movie_->getBounds()));
    EXPECT_EQ(kRed, window_.pixel(5, 5));
}

// Run on the usual true-colour display, and by frame_rendering_on_palette_display
// on an 8-bit one. A true-colour display makes the table's colour exactly. A
// palette display may only come near it, in a dither: the colour the device
// made of the first fill is kept as a plain colour and the area filled again,
// so that the picture shows one solid colour from the first frame on and later
// frames fill once with it.
TEST_F(FrameRendering, BackgroundIsOneSolidColourFromTheFirstFrameOn) {
    HDC screen = GetDC(nullptr);
    const bool palette = GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE;
    ReleaseDC(nullptr, screen);
    if (std::getenv("ZURED16_PALETTE_DISPLAY")) ASSERT_TRUE(palette) << "not a palette display";
    // Whether the whole picture shows one colour, which `colour` receives.
    auto solid = [this](COLORREF& colour) -> ::testing::AssertionResult {
        colour = window_.pixel(0, 0);
        for (int y = 0; y < 48; y += 3)
            for (int x = 0; x < 64; x += 1 + y % 2)
                if (window_.pixel(x, y) != colour)
                    return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex
                                                         << window_.pixel(x, y) << ", pixel 0,0 " << colour;
        return ::testing::AssertionSuccess();
    };
    // Index 1 and 99: palette-relative; index 255: plain black.
    for (uint8_t byte : {uint8_t{2}, uint8_t{100}, uint8_t{0}}) {
        SCOPED_TRACE("colour byte " + std::to_string(byte));
        load({64, 48, 1, 2, 10, byte}, {frameBlock(1, {}), frameBlock(2, {})});
        const COLORREF table = movie_->backgroundColor();
        ASSERT_EQ(1, movie_->renderFrame(1, movie_->getBounds()));
        COLORREF shown = 0;
        ASSERT_TRUE(solid(shown));
        if (!palette) EXPECT_EQ(table & 0x00FFFFFF, shown);
        // Kept as what the device made: plain when it is not the table's. The
        // device is the movie's own surface. What the window reads back on a
        // palette display has also passed through the X server's colour map,
        // which Wine 10 fills with near colours (Wine 8 gave back the
        // surface's own); the picture stays one colour either way.
        const COLORREF made = offscreenPixel(0, 0);
        EXPECT_EQ(made == (table & 0x00FFFFFF) ? table : made, movie_->backgroundColor());
        ASSERT_EQ(1, movie_->renderFrame(2, movie_->getBounds()));
        COLORREF again = 0;
        EXPECT_TRUE(solid(again));
        EXPECT_EQ(shown, again);
    }
}

TEST_F(FrameRendering, RepaintRedrawsTheFrameShowing) {
    load({64, 48, 1, 2, 10}, {groupBlock({rectGroup(1, 16, 16, 35)}), frameBlock(1, {place(1, 0, 0)})});
    const COLORREF unpainted = window_.pixel(2, 2);
    ASSERT_NE(kWhite, unpainted);
    movie_->repaintCurrentFrame(movie_->getBounds());  // nothing shown yet: nothing drawn
    EXPECT_EQ(unpainted, window_.pixel(2, 2));
    tick();
    ASSERT_EQ(1, movie_->currentFrame());
    HDC dc = GetDC(window_.handle());
    RECT all{0, 0, 64, 48};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(window_.handle(), dc);
    ASSERT_EQ(RGB(0, 0, 0), window_.pixel(2, 2));
    movie_->repaintCurrentFrame(movie_->getBounds());
    expectWindow({{2, 2, kRed}, {40, 40, kWhite}});
}

// A frame whose picture the surface already holds (the same placements of
// the same groups on the same background) is copied again, not composed;
// anything else composes it anew.
TEST_F(FrameRendering, AFrameTheSurfaceAlreadyHoldsIsOnlyCopiedAgain) {
    load({64, 48, 3, 5},
         {groupBlock({rectGroup(1, 16, 16, 35)}), frameBlock(1, {place(1, 0, 0)}), frameBlock(2, {repeat()}),
          frameBlock(3, {place(1, 20, 20)}), frameBlock(4, {place(1, 0, 0), place(3, 0, 0)})});
    const RECT bounds = movie_->getBounds();
    const std::vector<uint8_t> blueGroup = blockBytes(groupBlock({rectGroup(1, 16, 16, 210)}));
    const struct {
        const char* step;
        std::function<int()> act;
        int shown, compositions;
        Pixel pixel;
    } steps[] = {
        {"first frame", [&] { return movie_->renderFrame(1, bounds); }, 1, 1, {2, 2, kRed}},
        {"the same frame", [&] { return movie_->renderFrame(1, bounds); }, 1, 1, {2, 2, kRed}},
        {"a frame of the same placements", [&] { return movie_->renderFrame(2, bounds); }, 1, 1, {2, 2, kRed}},
        {"another placement", [&] { return movie_->renderFrame(3, bounds); }, 1, 2, {22, 22, kRed}},
        {"its group replaced",
         [&] {
             movie_->appendChunk(blueGroup.data(), static_cast<int32_t>(blueGroup.size()));
             return movie_->renderFrame(3, bounds);
         },
         1, 3, {22, 22, kBlue}},
        {"a group missing", [&] { return movie_->renderFrame(4, bounds); }, 0, 4, {22, 22, kBlue}},
        {"the frame before again", [&] { return movie_->renderFrame(3, bounds); }, 1, 5, {2, 2, kWhite}},
    };
    for (const auto& step : steps) {
        // Paint over the window: every shown frame must be copied to it.
        HDC dc = GetDC(window_.handle());
        const RECT all{0, 0, 64, 48};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(window_.handle(), dc);
        EXPECT_EQ(step.shown, step.act()) << step.step;
        EXPECT_EQ(step.compositions, movie_->compositions()) << step.step;
        if (step.shown) expectWindow({step.pixel});
    }
}

TEST_F(FrameRendering, SoundCarriesOnThroughFramesWithoutOne) {
    loadSounds({7, 0, 0, 0});
    tick();
    ASSERT_NE(nullptr, movie_->sound());
    const std::string cue = alias();
    EXPECT_EQ((Commands{"open " + path("7.WAV") + " type waveaudio alias " + cue, "play " + cue + " notify"}),
              commands_);
    EXPECT_EQ(1, movie_->soundStartFrame());
    for (int n = 2; n <= 4; ++n) tick();
    EXPECT_EQ(4, movie_->soundStartFrame());
    EXPECT_EQ(7, movie_->soundNumber());
    ASSERT_NE(nullptr, movie_->sound());
    EXPECT_TRUE(movie_->sound()->isPlaying());
    EXPECT_EQ(2u, commands_.size());  // nothing stopped
    EXPECT_TRUE(watcher_.boxes().empty());
}

TEST_F(FrameRendering, RepeatedNumberThenNoneStopsTheSound) {
    loadSounds({7, 7, 0});
    tick();
    const std::string cue = alias();
    tick();
    EXPECT_EQ(1, movie_->soundStartFrame());  // a repeat does not move it
    EXPECT_EQ(2u, commands_.size());
    tick();
    EXPECT_EQ(nullptr, movie_->sound());
    EXPECT_EQ(0, movie_->soundNumber());
    // Stopped by the step, then stopped and closed by the cue's destruction.
    EXPECT_EQ((Commands{"stop " + cue, "stop " + cue, "close " + cue}),
              Commands(commands_.begin() + 2, commands_.end()));
}

TEST_F(FrameRendering, AnotherNumberReplacesTheCue) {
    loadSounds({7, 9});
    tick();
    const std::string first = alias();
    commands_.clear();
    tick();
    ASSERT_NE(nullptr, movie_->sound());
    const std::string second = alias();
    EXPECT_NE(first, second);
    EXPECT_EQ((Commands{"stop " + first, "stop " + first, "close " + first,
                        "open " + path("9.WAV") + " type waveaudio alias " + second, "play " + second + " notify"}),
              commands_);
    EXPECT_EQ(9, movie_->soundNumber());
    EXPECT_EQ(2, movie_->soundStartFrame());
}

TEST_F(FrameRendering, SameNumberStartsAgainOnceItHasEnded) {
    loadSounds({5, 5, 5});
    tick();
    const std::string first = alias();
    ASSERT_TRUE(playsToItsEnd());
    commands_.clear();
    tick();
    const std::string second = alias();
    EXPECT_NE(first, second);
    EXPECT_EQ((Commands{"open " + path("5.WAV") + " type waveaudio alias " + second, "play " + second + " notify"}),
              commands_);
    EXPECT_EQ(1, movie_->soundStartFrame());
}

TEST_F(FrameRendering, RepaintStopsACarriedSoundAndRestartsAnEndedOne) {
    loadSounds({7, 0});
    tick();
    tick();
    ASSERT_NE(nullptr, movie_->sound());
    EXPECT_EQ(2, movie_->soundStartFrame());
    movie_->repaintCurrentFrame(movie_->getBounds());
    EXPECT_EQ(nullptr, movie_->sound());

    loadSounds({5});
    tick();
    const std::string first = alias();
    commands_.clear();
    movie_->repaintCurrentFrame(movie_->getBounds());
    EXPECT_TRUE(commands_.empty());  // still playing: left alone
    ASSERT_TRUE(playsToItsEnd());
    commands_.clear();
    movie_->repaintCurrentFrame(movie_->getBounds());
    EXPECT_EQ(2u, commands_.size());
    EXPECT_NE(first, alias());
    EXPECT_TRUE(movie_->sound()->isPlaying());
}

TEST_F(FrameRendering, RetriedFrameWithoutSoundStopsTheCarriedOne) {
    // Frame 2 names a group that has not arrived.
    loadSounds({7}, {frameBlock(2, {place(2, 0, 0)})});
    tick();
    EXPECT_EQ(1, tick());
    EXPECT_EQ(1, movie_->currentFrame());
    ASSERT_NE(nullptr, movie_->sound());
    EXPECT_EQ(2, movie_->soundStartFrame());  // the first attempt carried it on
    tick();
    EXPECT_EQ(nullptr, movie_->sound());

    // A missing record leaves the sound alone.
    loadSounds({7});
    tick();
    for (int i = 0; i < 3; ++i) tick();
    ASSERT_NE(nullptr, movie_->sound());
    EXPECT_EQ(1, movie_->soundStartFrame());
    EXPECT_EQ(2u, commands_.size());
}

TEST_F(FrameRendering, NegativeSoundNumberKeepsItsSign) {
    loadSounds({-3});
    tick();
    ASSERT_NE(nullptr, movie_->sound());
    EXPECT_EQ("open " + path("-3.WAV") + " type waveaudio alias " + alias(), commands_.at(0));
    EXPECT_TRUE(watcher_.boxes().empty());
}

TEST_F(FrameRendering, NoCueWithoutASoundDirectoryOrWhenThePathIsTooLong) {
    {
        ScopedInstallDirectory none(nullptr);
        loadSounds({7, 7, 0});
    }
    EXPECT_EQ("", movie_->soundDirectory());
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(1, tick());
    EXPECT_TRUE(commands_.empty());
    EXPECT_EQ(nullptr, movie_->sound());

    // A directory of 28 + k characters makes "7.WAV" paths of 33 + k: 143
    // characters are played (the file is missing), 144 are not.
    for (int k : {110, 111}) {
        const std::string install = "Q:\\" + std::string(static_cast<size_t>(k), 'y');
        {
            ScopedInstallDirectory value(install.c_str());
            loadSounds({7});
        }
        ASSERT_EQ(static_cast<size_t>(28 + k), movie_->soundDirectory().size());
        watcher_.clear();
        tick();
        EXPECT_EQ(1, movie_->currentFrame());
        EXPECT_EQ(7, movie_->soundNumber());
        if (k == 110) {
            ASSERT_FALSE(commands_.empty());
            EXPECT_EQ("open " + movie_->soundDirectory() + "7.WAV type waveaudio alias " + alias(), commands_[0]);
            EXPECT_FALSE(watcher_.boxes().empty());
        } else {
            EXPECT_TRUE(commands_.empty());
            EXPECT_EQ(nullptr, movie_->sound());
            EXPECT_TRUE(watcher_.boxes().empty());
        }
    }
}

TEST_F(FrameRendering, BoxInsideTheSoundStepLetsNothingRenderOrAdvance) {
    // 8.WAV is missing: the open command fails with a box.
    loadSounds({8, 0, 0});
    int nestedTicks = 0;
    insideBox_ = [&](const SeenBox&) {
        ++nestedTicks;
        EXPECT_EQ(1, movie_->tick(movie_->getBounds()));
        EXPECT_EQ(1, movie_->currentFrame());
        EXPECT_EQ(0, movie_->renderFrame(1, movie_->getBounds()));
        movie_->repaintCurrentFrame(movie_->getBounds());
    };
    EXPECT_EQ(1, tick());
    insideBox_ = nullptr;
    EXPECT_GT(nestedTicks, 0);
    EXPECT_EQ(1, movie_->currentFrame());
    EXPECT_EQ(kRed, window_.pixel(2, 2));
    EXPECT_EQ(1, tick());
    EXPECT_EQ(2, movie_->currentFrame());
}

TEST_F(FrameRendering, MovieDestroyedFromABoxInsideTheSoundStep) {
    loadSounds({8, 0});
    insideBox_ = [&](const SeenBox&) { movie_.reset(); };
    Movie* movie = movie_.get();
    EXPECT_EQ(0, movie->tick(movie->getBounds()));
    insideBox_ = nullptr;
    EXPECT_EQ(nullptr, movie_);
}

}  // namespace
