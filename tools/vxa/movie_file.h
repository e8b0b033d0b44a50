#pragma once
// A .vxa file as the commands read it: its bytes and its pieces. Only a file
// without a whole header cannot be read.
#include <cstdint>
#include <string>
#include <vector>

#include "core/format/stream.h"

namespace vxa::tool {

class MovieFile {
 public:
  explicit MovieFile(std::string path);

  const std::string& path() const { return path_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  const StreamPieces& pieces() const { return pieces_; }
  const Header& header() const { return pieces_.header; }

 private:
  std::string path_;
  std::vector<uint8_t> bytes_;
  StreamPieces pieces_;
};

}  // namespace vxa::tool
