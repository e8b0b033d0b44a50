#pragma once
// One animation: the settings of its stream header, the frame and group
// tables that fill while the stream arrives, the off-screen surface and
// palette every frame is composed with, the playback counters, and the sound
// cue of the frames now playing. One per plug-in instance; its MovieWindow
// owns it.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/gdi_object.h"
#include "framework/window_object.h"
#include "graphics/object_build_context.h"
#include "core/format/block.h"
#include "core/format/stream_reader.h"
#include "core/model/frame_record.h"
#include "playback/clock.h"
#include "core/model/frame_budget.h"
#include "core/timeline/playback_rules.h"
#include "core/timeline/sound_step.h"
#include "sound/sound_failure_notice.h"

class ObjectGroup;
class OffscreenSurface;
class SoundCue;

class Movie {
public:
    // Cursor resources of the wait-for-click animation.
    static constexpr int kWaitCursorA = playback::kWaitCursorA;
    static constexpr int kWaitCursorB = playback::kWaitCursorB;
    // cursorState before the wait animation has set a cursor.
    static constexpr int16_t kNoWaitCursor = playback::kNoWaitCursor;

    // The first chunk of the stream. The window is the one the movie is drawn
    // into; only its handle() is read, and it must outlive the movie. A chunk
    // too short for the stream header is kept until later chunks complete it.
    // Running out of memory is reported to the user and leaves a movie that
    // holds what was complete; std::bad_alloc leaves only when the movie's
    // own first allocation fails, as when new Movie itself fails.
    Movie(const uint8_t* data, int32_t length, const fw::WindowObject& window, Clock& clock = systemClock());
    virtual ~Movie();

    Movie(const Movie&) = delete;
    Movie& operator=(const Movie&) = delete;

    // Every later chunk of the stream, of any size.
    void appendChunk(const uint8_t* data, int32_t length);
    // (0, 0, width, height); empty until the stream header is complete.
    RECT getBounds() const { return bounds_; }
    void resetPlayback();

    // Playback step of the window's timer: nonzero to keep the timer running.
    int tick(RECT target);
    // 1 when frame n was composed and copied to the window at target (or n
    // lies beyond the frame table), 0 when nothing reached the window.
    int renderFrame(int16_t n, RECT target);
    void repaintCurrentFrame(RECT target);

    int isPaused() const { return play_.paused; }
    void pause() { play_.paused = 1; }
    void resume() { play_.paused = 0; }
    int isWaitingForClick() const { return play_.waitForClick; }
    void releaseWait() { play_.waitForClick = 0; }
    // A left click into the window; true when the timer is to be started.
    bool click() { return playback::applyClick(play_); }

    // The instance has ended, or the window the movie draws into has gone:
    // from now on the movie draws nothing, starts no sound (a device already
    // open is only stopped and closed), takes no more data and raises no box.
    // A step of this movie that is still running under a box further up the
    // stack finds out when the box returns. For good: nothing undoes it.
    void retire();
    bool retired() const { return retired_; }

    // Read-only views, for the window and for tests.
    bool headerComplete() const { return headerRead_; }
    // False once the movie takes no more data: after its memory ran out or
    // after a block that can never complete.
    bool takingData() const { return intake_ != Intake::Closed; }
    int16_t version() const { return version_; }
    int loops() const { return play_.loops; }
    COLORREF backgroundColor() const { return backgroundColor_; }
    uint8_t frameRate() const { return play_.frameRate; }
    int16_t frameCount() const { return static_cast<int16_t>(frames_.size()); }
    int16_t groupCount() const { return static_cast<int16_t>(groups_.size()); }
    // Null when n is outside the table or the frame is not there.
    const FrameRecord* frame(int n) const;
    const ObjectGroup* group(int id) const;
    int16_t currentFrame() const { return play_.currentFrame; }
    uint32_t lastFrameTick() const { return play_.lastFrameTick; }
    uint32_t lastCursorTick() const { return play_.lastCursorTick; }
    int16_t cursorState() const { return play_.cursorState; }
    const SoundCue* sound() const { return sound_.get(); }
    int16_t soundNumber() const { return soundState_.number; }
    int16_t soundStartFrame() const { return soundState_.startFrame; }
    const std::string& soundDirectory() const { return soundDirectory_; }
    const OffscreenSurface* offscreen() const { return offscreen_.get(); }
    HPALETTE palette() const { return palette_.handle(); }
    const ObjectBuildContext& buildContext() const { return buildContext_; }
    // Memory the stream reader holds: after each chunk, at most the block
    // that is not yet complete.
    size_t streamBytesHeld() const { return reader_.reservedBytes(); }
    // Frames composed on the surface; a frame whose picture the surface
    // already holds is copied to the window again without being composed.
    int compositions() const { return compositions_; }
    // Blocks left out because they were damaged, named frames or groups
    // outside the tables, or would have passed the movie's bounds.
    int rejectedBlocks() const { return rejectedBlocks_; }
    const std::string& lastRejection() const { return lastRejection_; }

private:
    enum class Intake { AwaitingHeader, Open, Closed };

    // Stream intake (block_intake.cpp).
    void takeIn(const uint8_t* data, size_t length);
    void readAvailable();
    void readBlocks();
    void setUp(const vxa::Header& header);
    void enterBlock(const uint8_t* body, size_t length);
    void reject(std::string reason);
    void closeIntake();
    bool tellPendingNotices();
    // Asks for the once-per-movie notice that part of the movie can't be shown.
    void noteDamage();

    // Rendering (frame_rendering.cpp).
    bool runSoundStep(int16_t soundNumber);
    bool dropSound();
    std::unique_ptr<SoundCue> makeCue(int16_t soundNumber);
    void paintBackground();
    int drawItems(const FrameRecord& record, vxa::FrameBudget& budget);
    bool surfaceShows(const FrameRecord& record) const;

    // Playback clock (playback_clock.cpp).
    class TimerStage;
    void showWaitCursor(playback::PlaybackState& state);

    // Shared with every step in progress. A message box inside a step runs
    // the host's messages, which may destroy the movie under that step: the
    // step finds out here, and a sound cue it still holds can still report
    // through the notice. Declared first, so that the notice outlives every
    // cue of the movie.
    struct Presence {
        bool alive = true;
        SoundFailureNotice soundNotice;
    };
    std::shared_ptr<Presence> presence_;

    const fw::WindowObject& window_;
    Clock& clock_;

    vxa::StreamReader reader_;
    // Every block is decoded into this one, whose records keep their memory
    // from block to block.
    vxa::Block decoded_;
    Intake intake_ = Intake::AwaitingHeader;
    bool intakeRunning_ = false;
    bool memoryNoticePending_ = false;
    bool damageNoticePending_ = false;
    bool damageReported_ = false;
    bool headerRead_ = false;
    vxa::Layout layout_ = vxa::Layout::Wide;
    int rejectedBlocks_ = 0;
    std::string lastRejection_;

    int16_t version_ = 0;
    RECT bounds_{0, 0, 0, 0};
    COLORREF backgroundColor_ = 0;
    HCURSOR cursorA_ = nullptr;
    HCURSOR cursorB_ = nullptr;
    std::string soundDirectory_;

    // The header's playback settings, the position and the pause and wait
    // flags, stepped by the shared playback rules.
    playback::PlaybackState play_;
    bool retired_ = false;
    // Set while a frame is being rendered: a message box inside the sound
    // step lets timer and paint messages in, which must not render again.
    bool rendering_ = false;

    // What the surface holds: the placements of the frame composed last, the
    // background it was composed on and the groups it was composed from (the
    // count of group arrivals then). A picture is a function of these alone,
    // so a frame that matches them all needs no composing.
    struct Composition {
        bool complete = false;
        COLORREF background = 0;
        uint32_t groupArrivals = 0;
        std::vector<FrameItem> items;
    };
    Composition composed_;
    uint32_t groupArrivals_ = 0;
    int compositions_ = 0;

    // Declared so that what is used outlives its users: the surface and the
    // palette outlive the groups drawn on them, the build context the objects
    // it counts.
    fw::Palette palette_;
    std::unique_ptr<OffscreenSurface> offscreen_;
    ObjectBuildContext buildContext_;
    std::unique_ptr<SoundCue> sound_;
    playback::SoundState soundState_;
    std::vector<std::unique_ptr<ObjectGroup>> groups_;
    std::vector<std::unique_ptr<FrameRecord>> frames_;
};
