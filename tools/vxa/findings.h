#pragma once
// What `vxa check` finds in a stream: every place where the plug-in would not
// show the movie as it was authored, with what the plug-in does there.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vxa::tool {

class SoundFolder;

struct Finding {
  size_t offset;      // in the stream, for the order of the findings
  std::string place;  // "header", "block 5 at byte 1234", "end of the stream at byte 5678"
  std::string text;   // what is wrong, and what the plug-in does about it

  std::string line() const { return place + ": " + text; }
};

// The stream must hold a whole header. sounds: the movie's sound folder, when
// the sound files are to be checked too.
std::vector<Finding> findProblems(const std::vector<uint8_t>& bytes, const SoundFolder* sounds);

}  // namespace vxa::tool
