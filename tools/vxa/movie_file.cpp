#include "movie_file.h"

#include "files.h"
#include "tool_failure.h"

namespace vxa::tool {

MovieFile::MovieFile(std::string path) : path_(std::move(path)), bytes_(readBytes(path_)) {
  if (!splitStream(bytes_, pieces_)) {
    fail(path_ + ": the stream ends inside its header (" + std::to_string(bytes_.size()) + " bytes)");
  }
}

}  // namespace vxa::tool
