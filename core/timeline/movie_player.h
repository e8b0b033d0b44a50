#pragma once
// A movie played as the plug-in plays it in its window, without a window:
// the stream delivered in chunks, the window's 20-ms timer (started by the
// second chunk or by the normal end of the stream, stopped when playback
// asks, started again by later chunks and by the click that resumes), one
// playback step per timer message, the sound step of every frame shown, and
// clicks. Times are passed in (ms); what is shown and heard is reported back
// for the caller to draw and play. The exporters and the web player play
// movies with it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/model/movie_model.h"
#include "core/timeline/playback_rules.h"
#include "core/timeline/sound_step.h"

namespace playback {

// The numbered sound files of a movie.
class SoundLibrary {
public:
    virtual ~SoundLibrary() = default;
    // How long the sound plays, in ms; nullopt when it has no file, and its
    // cue then plays nothing.
    virtual std::optional<uint32_t> soundLength(int16_t number) const = 0;
};

// What a frame's sound step did to the movie's one cue.
struct CueEvent {
    enum class Kind {
        Start,      // the cue of `number` starts from its beginning
        PlayAgain,  // the same cue, which had ended, starts again
        Stop,       // the cue of `number` stops (it may have ended already)
    };
    Kind kind;
    int16_t number;
    bool audible;  // Start, PlayAgain: the sound has a file
};

// What one timer message did.
struct TimerStep {
    uint32_t at = 0;
    TickStep decision = TickStep::NotDue;
    // The frame shown (0 none): its record and every group it names were
    // there, and the model holds them as they were drawn.
    int16_t shown = 0;
    // Advance that found the frame or a group missing: tried again at once.
    bool retry = false;
    std::vector<CueEvent> cues;
    // False once the timer has stopped.
    bool timerGoesOn = true;
};

class MoviePlayer {
public:
    // sounds: null when the movie has no sound directory: no cue is ever made.
    MoviePlayer(vxa::MovieModel& movie, const SoundLibrary* sounds);

    // A chunk delivered at `now`: the first one starts the movie, every later
    // one that is not empty is appended and starts the timer.
    void deliver(const uint8_t* data, size_t length, uint32_t now);
    // The normal end of the stream: starts the timer.
    void endStream(uint32_t now);
    // A left click into the movie, at `now`.
    void click(uint32_t now);
    // The window's timer itself: started by the chunks, the end of the stream
    // and a resuming click as above; started and stopped directly by whatever
    // else the host does with it (ESC stops it and changes no flag).
    void startTimer(uint32_t now);
    void stopTimer();

    // When the next timer message comes; nullopt while the timer is stopped.
    std::optional<uint32_t> nextTimerMessage() const;
    // Runs the timer message due at nextTimerMessage(), which must be set.
    TimerStep timerMessage();

    const PlaybackState& state() const { return state_; }
    const vxa::MovieModel& movie() const { return movie_; }
    // Whether playback is holding for a click (frame 6 is showing).
    bool holding() const;

private:
    class Stage;

    void takeSettings();
    bool showFrame(int16_t n, uint32_t now, TimerStep& step);
    void runSoundStep(int16_t frameSound, uint32_t now, std::vector<CueEvent>& cues);

    struct Cue {
        int16_t number;
        uint32_t startedAt;
        std::optional<uint32_t> length;
        bool playing(uint32_t now) const { return length && now - startedAt < *length; }
    };

    vxa::MovieModel& movie_;
    const SoundLibrary* sounds_;
    PlaybackState state_;
    SoundState sound_;
    std::optional<Cue> cue_;
    bool started_ = false;
    bool settingsTaken_ = false;
    std::optional<uint32_t> nextTimer_;
};

}  // namespace playback
