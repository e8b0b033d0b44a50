#pragma once
// What `vxa scan` says of one file: the facts `vxa info` and `vxa check`
// give, in fields a table can hold.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vxa::tool {

struct ScanRow {
  std::string path;
  uint64_t bytes = 0;
  // What went wrong: the file could not be read as a movie (the facts are
  // then empty), or its poster could not be written.
  std::string error;
  std::string layout;  // "wide" or "narrow"
  int width = 0, height = 0, rate = 0;
  bool loops = false, waitsForClick = false;
  int framesDeclared = 0, framesPresent = 0, groupsDeclared = 0, groupsPresent = 0;
  std::optional<uint32_t> onePassMs;  // none: it stalls before the last frame
  bool playsToEnd = false;
  size_t findings = 0;
  std::string firstFinding;
  std::vector<int> sounds, soundsMissing;
  std::vector<std::string> faces;  // the faces its texts are drawn in
  std::string poster;              // the poster's file, when one was written
};

// Reads and plays the file. posterFolder: where the first frame goes as PNG
// (empty: none). Never throws for a bad file: the row says what is wrong.
ScanRow scanFile(const std::string& path, const std::string& posterFolder);

// The poster's file name for a movie's path: the path with its folders
// joined by "_", so posters of one scan do not overwrite each other.
std::string posterName(const std::string& moviePath);

}  // namespace vxa::tool
