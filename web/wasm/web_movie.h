#pragma once
// One animation as the web player plays it: the stream taken in chunks, the
// playback timer stepped by the page, the picture in the player's window and
// the sound cue, all by the plug-in's rules (MoviePlayer) and drawn by the
// portable renderer. The page glue only carries bytes, ticks and clicks in,
// and events and pixels out.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/model/movie_model.h"
#include "core/raster/frame_composer.h"
#include "core/raster/text.h"
#include "core/timeline/movie_player.h"
#include "web/wasm/block_gate.h"
#include "web/wasm/page_fonts.h"

namespace web {

enum class EventKind : int {
  None = 0,
  FrameShown = 1,   // value: the frame now in the picture
  SoundStart = 2,   // value: the sound number; any earlier cue is gone
  SoundAgain = 3,   // value: the sound number; the cue had ended
  SoundStop = 4,    // the cue is stopped and gone
  Warning = 5,      // text: a block left out and why
  SoundNeeded = 6,  // value: a sound number whose length the movie needs
  FontNeeded = 7,   // text: a part of a font file that text in the movie needs
  Ended = 8,        // the last frame of a movie that does not loop is showing
  Damaged = 9,      // text: the first block left out of this movie
};

struct Event {
  EventKind kind = EventKind::None;
  int value = 0;
  std::string text;
};


// Every operation that can start or stop the playback timer returns whether
// it runs now; the page runs its own timer exactly while it does.
class WebMovie : private playback::SoundLibrary {
 public:
  // withSounds: the movie has a folder of sound files.
  explicit WebMovie(bool withSounds);

  static uint32_t timerPeriod();

  // The glue copies a chunk of `length` bytes here, then calls takeChunk.
  uint8_t* chunkBuffer(size_t length);
  bool takeChunk(size_t length, uint32_t now);
  // The normal end of the stream.
  bool endOfStream(uint32_t now);

  // A message of the page's timer: runs the playback timer's message when
  // it is due.
  bool tick(uint32_t now);
  // A left click into the picture.
  bool click(uint32_t now);
  // The script API: pause as a click does while playing; play on after a
  // pause or after ESC; stop as ESC does.
  bool pause(uint32_t now);
  bool play(uint32_t now);
  void stop();
  bool isPaused() const;

  // A sound file's length in ms, or nullopt when it can't be had.
  bool soundSettled(int16_t number, std::optional<uint32_t> length);
  // A font arrived or is known to be missing: held-back blocks may pass.
  bool retryHeldBack();

  // The picture's size; 0 x 0 until the header is in, and for a movie too
  // large to show.
  int width() const;
  int height() const;
  // The picture in the player's window: RGBA bytes, width * height * 4.
  const uint8_t* picture() const { return picture_.data(); }
  // The cursor resource to show over the picture; 0 before the movie is
  // set up, when the page's own cursor stays.
  int cursor() const;
  int currentFrame() const;
  // The stream's header, for what a page tells about the movie; null until
  // it is in.
  const vxa::MovieModel* headerModel() const { return model_.headerComplete() ? &model_ : nullptr; }

  // Text that has come in is drawn once out of sight while the page is idle,
  // so that the faces and glyphs it needs are made before a frame shows it,
  // not when the frame is due. Draws one text, as a cold one may take tens of
  // milliseconds and a due frame waits for it; true while more is left.
  bool warmUpText();
  bool hasColdText() const { return !coldText_.empty(); }

  // Takes the next event reported since the last call; None when there is none.
  EventKind nextEvent();
  const Event& event() const { return event_; }

 private:
  std::optional<uint32_t> soundLength(int16_t number) const override;
  void setUpPicture();
  bool blockReady(const vxa::Block& block);
  void enter(const vxa::Block& block);
  bool timerRuns() const { return player_.nextTimerMessage().has_value(); }
  void tellCues(const std::vector<playback::CueEvent>& cues);
  void tellRejections();
  void show(int16_t frame);

  bool withSounds_;
  vxa::MovieModel model_;
  playback::MoviePlayer player_;
  BlockGate gate_;
  std::vector<uint8_t> chunk_;
  std::vector<uint8_t> released_;
  bool chunkSeen_ = false;

  bool pictureSized_ = false;
  // None while the movie has no picture to show.
  std::optional<raster::FrameComposer> composer_;
  std::vector<uint8_t> picture_;

  std::map<int16_t, std::optional<uint32_t>> soundLengths_;
  std::set<int16_t> soundsAsked_;
  std::set<std::string> fontsAsked_;
  std::deque<raster::TextBlock> coldText_;
  size_t rejectionsTold_ = 0;
  bool endTold_ = false;

  std::deque<Event> events_;
  Event event_;
};

}  // namespace web
