#include "findings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "core/tables/font_map.h"
#include "local_playback.h"
#include "core/format/stream.h"
#include "core/model/movie_model.h"
#include "core/model/frame_budget.h"
#include "core/timeline/playback_rules.h"
#include "sound_folder.h"

namespace vxa::tool {
namespace {

std::string blockPlace(size_t index, size_t offset) {
  return "block " + std::to_string(index) + " at byte " + std::to_string(offset);
}

// "7", "7 and 9", "2, 7 to 12 and 15": ascending numbers, runs of three or
// more joined.
std::string numberList(const std::vector<int>& numbers) {
  std::vector<std::string> parts;
  for (size_t i = 0; i < numbers.size();) {
    size_t j = i;
    while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
    if (j >= i + 2) {
      parts.push_back(std::to_string(numbers[i]) + " to " + std::to_string(numbers[j]));
    } else {
      for (size_t k = i; k <= j; ++k) parts.push_back(std::to_string(numbers[k]));
    }
    i = j + 1;
  }
  std::string text;
  for (size_t k = 0; k < parts.size(); ++k) {
    text += (k == 0 ? "" : k + 1 == parts.size() ? " and " : ", ") + parts[k];
  }
  return text;
}

class Checker {
 public:
  Checker(const std::vector<uint8_t>& bytes, const SoundFolder* sounds) : bytes_(bytes), sounds_(sounds) {
    splitStream(bytes, stream_);
    model_.append(bytes.data(), bytes.size());
    for (const MovieModel::Rejection& rejection : model_.rejections()) {
      refusals_[rejection.place.block] = rejection.reason;
    }
  }

  std::vector<Finding> run() {
    checkHeader();
    for (size_t i = 0; i < stream_.pieces.size(); ++i) checkPiece(i, stream_.pieces[i]);
    for (const MovieModel::EmptyRepeat& repeat : model_.emptyRepeats()) {
      add(repeat.place.offset, blockPlace(repeat.place.block, repeat.place.offset),
          "item " + std::to_string(repeat.item) + " of frame " + std::to_string(repeat.frame) +
              " repeats the item at its place in frame " + std::to_string(repeat.frame - 1) +
              ", which has none: the plug-in draws nothing for it");
    }
    checkWhatNeverArrives();
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.offset < b.offset; });
    return std::move(findings_);
  }

 private:
  void add(size_t offset, std::string place, std::string text) {
    findings_.push_back({offset, std::move(place), std::move(text)});
  }

  void checkHeader() {
    const Header& h = stream_.header;
    const size_t base = h.layout == Layout::Wide ? 10 : 0;
    auto header = [&](size_t field, const std::string& text) {
      add(base + field, "header at byte " + std::to_string(base + field), text);
    };
    if (h.width <= 0 || h.height <= 0) {
      header(h.width <= 0 ? 0 : 2, "the movie is " + std::to_string(h.width) + " x " +
                                       std::to_string(h.height) + " pixels: the plug-in shows no picture");
    }
    if (pictureTooLarge(h.width, h.height)) {
      header(0, "the movie is " + std::to_string(h.width) + " x " + std::to_string(h.height) +
                    " pixels, more than the " + std::to_string(kLargestPicture) +
                    " a player shows: the plug-in shows none of it and says there is not enough memory");
    }
    if (h.frameRate == 0) {
      header(5, "frame rate 0 is no rate: the plug-in shows one frame a second");
    }
    if (h.groupCount < 0) {
      header(6, "group count " + std::to_string(h.groupCount) + ": the group table is empty and no group enters it");
    }
    if (h.frameCount <= 0) {
      header(8, "frame count " + std::to_string(h.frameCount) + ": the plug-in has no frame to show");
    }
  }

  void checkPiece(size_t index, const StreamPiece& piece) {
    const std::string place = blockPlace(index, piece.offset);
    const size_t rest = bytes_.size() - piece.offset;
    switch (piece.kind) {
      case StreamPiece::Kind::Unreadable: {
        char length[8];
        std::snprintf(length, sizeof length, "0x%02X%02X", piece.raw[0], piece.raw[1]);
        add(piece.offset, place,
            std::string("block length ") + length + " is 32768 or more: the plug-in never completes the block "
                "and reads none of the " + std::to_string(rest) + " bytes from here on");
        return;
      }
      case StreamPiece::Kind::Unfinished:
        add(piece.offset, place,
            piece.damage + ": the plug-in keeps these " + std::to_string(rest) +
                " bytes and waits for the rest, which never comes");
        return;
      case StreamPiece::Kind::Undecodable:
        add(piece.offset, place,
            piece.damage + " (at byte " + std::to_string(piece.damageOffset) +
                "): the plug-in leaves the block out");
        return;
      case StreamPiece::Kind::Block:
        break;
    }
    const auto refused = refusals_.find(index);
    if (refused != refusals_.end()) {
      add(piece.offset, place, refused->second + ": the plug-in leaves the block out");
      return;
    }
    for (const GroupRecord& group : piece.block.groups) checkGroup(place, piece.offset, group);
    checkSound(place, piece.offset, piece.block.frame);
  }

  void checkGroup(const std::string& place, size_t offset, const GroupRecord& group) {
    const std::string name = "group " + std::to_string(group.id);
    std::set<std::string> fonts;
    for (size_t j = 0; j < group.objects.size(); ++j) {
      const ObjectRecord& object = group.objects[j];
      if (object.kind < ObjectKind::Polygon || object.kind > ObjectKind::Comment) {
        add(offset, place, "object " + std::to_string(j) + " of " + name + " has kind " +
                               std::to_string(object.kind) + ", which no object has: the plug-in draws nothing for it");
      }
      if (object.kind == ObjectKind::Text && object.fontName != "System" &&
          std::strcmp(mapFontName(object.fontName.c_str(), object.size).faceName, "System") == 0 &&
          fonts.insert(object.fontName).second) {
        add(offset, place, name + " names the font \"" + object.fontName +
                               "\", which the plug-in does not know: it draws those texts in System");
      }
    }
  }

  void checkSound(const std::string& place, size_t offset, const FramePart& frame) {
    const int16_t sound = frame.number != 0 ? frame.soundNumber : 0;
    if (!sounds_ || sound == 0 || !soundsSeen_.insert(sound).second) return;
    const std::string what = "frame " + std::to_string(frame.number) + " names sound " + std::to_string(sound);
    const std::optional<std::string> file = sounds_->fileOf(sound);
    if (!file) {
      add(offset, place, what + ", and " + sounds_->folder() + " has no " + std::to_string(sound) +
                             ".WAV: the plug-in tells of it in a box and plays nothing");
    } else if (!sounds_->soundLength(sound)) {
      add(offset, place, what + ", and " + *file + " is no sound file: the plug-in tells of it in a box "
                                "and plays nothing");
    }
  }

  void checkWhatNeverArrives() {
    const size_t end = bytes_.size();
    const std::string place = "end of the stream at byte " + std::to_string(end);
    std::vector<int> frames;
    std::map<int, int> groups;  // group -> first frame placing it
    for (int n = 1; n <= model_.frameCount(); ++n) {
      const FrameRecord* record = model_.frame(n);
      if (!record) {
        frames.push_back(n);
        continue;
      }
      for (const FrameItem& item : record->items) {
        if (playback::namesGroup(item.groupId, model_.groupCount()) && !model_.group(item.groupId)) {
          groups.emplace(item.groupId, n);
        }
      }
    }
    if (!frames.empty()) {
      add(end, place, std::string(frames.size() == 1 ? "frame " : "frames ") + numberList(frames) +
                          (frames.size() == 1 ? " never arrives" : " never arrive"));
    }
    for (const auto& [group, frame] : groups) {
      add(end, place, "group " + std::to_string(group) + " never arrives, and frame " + std::to_string(frame) +
                          " places it");
    }
    // Once the last frame has shown, every frame has: a looping movie keeps them.
    const int16_t last = model_.frameCount();
    const playback::TimelineEnd played = playback::runTimeline(
        bytes_, localFileSchedule(bytes_.size(), 0), nullptr,
        [this, last](const playback::TimerStep& step, const playback::MoviePlayer& player) {
          if (step.shown != 0 && budgetChecked_.insert(step.shown).second) checkBudget(step.shown, player.movie());
          return step.shown != last;
        });
    if (played.reason == playback::TimelineEnd::Reason::Stalled) {
      const int16_t next = static_cast<int16_t>(played.currentFrame + 1);
      add(end, place, (played.currentFrame == 0 ? std::string("playback stalls before frame 1")
                                                : "playback stalls at frame " + std::to_string(played.currentFrame)) +
                          ": frame " + std::to_string(next) + " never shows");
    }
  }

  // A frame is measured as it is shown, with the groups it is drawn with then.
  void checkBudget(int16_t n, const MovieModel& movie) {
    const FrameRecord* record = movie.frame(n);
    FrameBudget budget;
    uint64_t asked = 0;
    std::string cutAt;
    for (size_t i = 0; i < record->items.size(); ++i) {
      const int16_t id = record->items[i].groupId;
      if (!playback::namesGroup(id, movie.groupCount())) continue;
      const std::shared_ptr<const GroupRecord> group = movie.group(id);
      for (size_t j = 0; group && j < group->objects.size(); ++j) {
        const uint32_t cost = drawingCost(group->objects[j]);
        asked += cost;
        if (!budget.admit(cost) && cutAt.empty()) {
          cutAt = "object " + std::to_string(j) + " of group " + std::to_string(id) + " (item " +
                  std::to_string(i) + ")";
        }
      }
    }
    if (!budget.cut()) return;
    const MovieModel::Place origin = *movie.frameOrigin(n);
    add(origin.offset, blockPlace(origin.block, origin.offset),
        "frame " + std::to_string(n) + " asks for " + std::to_string(asked) + " units of drawing, over the " +
            std::to_string(kFrameDrawingBound) + " a frame may have: the plug-in stops drawing it before " + cutAt +
            " and says once that part of the animation can't be shown");
  }

  const std::vector<uint8_t>& bytes_;
  const SoundFolder* sounds_;
  std::set<int16_t> budgetChecked_;
  StreamPieces stream_;
  MovieModel model_;
  std::map<size_t, std::string> refusals_;
  std::set<int16_t> soundsSeen_;
  std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> findProblems(const std::vector<uint8_t>& bytes, const SoundFolder* sounds) {
  return Checker(bytes, sounds).run();
}

}  // namespace vxa::tool
