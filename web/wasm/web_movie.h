#pragma once
// One animation as the web player plays it: the stream taken in chunks, the
// playback state stepped by the page's 20 ms timer, the picture in the
// player's window and the sound cue, all by the plug-in's rules. The page
// glue only carries bytes, ticks and clicks in and events and pixels out.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace web {

enum class EventKind : int {
  None = 0,
  FrameShown = 1,   // value: the frame now in the picture
  SoundStart = 2,   // value: the sound number; any earlier cue is gone
  SoundAgain = 3,   // value: the sound number; the cue had ended
  SoundStop = 4,    // the cue is stopped and gone
  Warning = 5,      // text: a block left out and why
  SoundNeeded = 6,  // value: a sound number a frame names, to fetch ahead
  FontNeeded = 7,   // text: a font file that text in the movie is drawn with
  Ended = 8,        // the last frame of a movie that does not loop is showing
  Damaged = 9,      // text: the first block left out of this movie
};

struct Event {
  EventKind kind = EventKind::None;
  int value = 0;
  std::string text;
};

// The font files handed in by the page, shared by every movie.
class FontFiles {
 public:
  void provide(const std::string& fileName, std::vector<uint8_t> bytes);
  void missing(const std::string& fileName);
  // True once the file arrived or is known to be missing.
  bool settled(const std::string& fileName) const;
  // The file's bytes, or null when it is missing or has not arrived.
  const std::vector<uint8_t>* bytes(const std::string& fileName) const;

 private:
  std::map<std::string, std::vector<uint8_t>> files_;
  std::map<std::string, bool> missing_;
};

FontFiles& fonts();

}  // namespace web

namespace web {

class WebMovie {
 public:
  static uint32_t timerPeriod();

  // The glue copies a chunk of `length` bytes here, then calls takeChunk.
  uint8_t* chunkBuffer(size_t length);
  // Returns true when the playback timer is to be started.
  bool takeChunk(size_t length);
  bool endOfStream();

  bool tick(uint32_t now, bool pointerInside);
  bool click();
  void pause();
  bool isPaused() const;
  void soundEnded();
  void retryHeldBack();

  int width() const;
  int height() const;
  const uint8_t* picture() const;
  int cursor() const;
  int currentFrame() const;

  EventKind nextEvent();
  const Event& event() const { return event_; }

 private:
  std::vector<uint8_t> chunk_;
  std::vector<uint8_t> picture_;
  std::deque<Event> events_;
  Event event_;
  int width_ = 0, height_ = 0;
  bool movie_ = false;
};

}  // namespace web
