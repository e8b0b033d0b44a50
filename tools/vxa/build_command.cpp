// vxa build SOURCE.json -o MOVIE.vxa: the stream a JSON source describes.
#include <iostream>
#include <set>

#include "arguments.h"
#include "commands.h"
#include "files.h"
#include "core/format/block_encoder.h"
#include "core/format/range_check.h"
#include "source_error.h"
#include "source_reader.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

// Parses JSON, refusing duplicate keys, which the JSON library would let the
// last one win silently.
Json parseSource(const std::string& path, const std::string& text) {
  std::vector<std::set<std::string>> keys;
  const auto watch = [&keys](int, Json::parse_event_t event, Json& parsed) {
    if (event == Json::parse_event_t::object_start) {
      keys.emplace_back();
    } else if (event == Json::parse_event_t::object_end) {
      keys.pop_back();
    } else if (event == Json::parse_event_t::key) {
      const auto key = parsed.get<std::string>();
      if (!keys.back().insert(key).second) throw SourceError("duplicate key \"" + key + "\"");
    }
    return true;
  };
  try {
    return Json::parse(text, watch);
  } catch (const Json::parse_error& e) {
    std::string message = e.what();
    const size_t end = message.find("] ");
    if (end != std::string::npos) message.erase(0, end + 2);
    fail(path + ": " + message);
  } catch (const SourceError& e) {
    fail(path + ": " + e.what());
  }
}

}  // namespace

int buildCommand(const Args& args) {
  const Arguments arguments("build", args, {{"-o"}, {}, {}});
  const std::optional<std::string> output = arguments.value("-o");
  if (!output) usageError("build needs -o MOVIE.vxa");
  const std::string& sourcePath = arguments.input();
  const Json source = parseSource(sourcePath, readText(sourcePath));
  StreamPieces stream;
  try {
    stream = readSource(source);
  } catch (const SourceError& e) {
    fail(sourcePath + ": " + e.what());
  }

  std::vector<uint8_t> bytes;
  try {
    encodeHeader(stream.header, bytes);
  } catch (const std::invalid_argument& e) {
    fail(sourcePath + ": header: " + e.what());
  }
  for (size_t i = 0; i < stream.pieces.size(); ++i) {
    const StreamPiece& piece = stream.pieces[i];
    if (!piece.decoded()) {
      bytes.insert(bytes.end(), piece.raw.begin(), piece.raw.end());
      continue;
    }
    const std::string path = "blocks[" + std::to_string(i) + "]";
    try {
      encodeBlock(piece.block, stream.header.layout, bytes);
    } catch (const std::invalid_argument& e) {
      fail(sourcePath + ": " + path + ": " + e.what());
    }
    // Such a block is valid to store (tests of players need it) but a player refuses it.
    const std::string range = checkRanges(piece.block, stream.header.frameCount, stream.header.groupCount);
    if (!range.empty()) {
      std::cerr << "vxa: warning: " << sourcePath << ": " << path << ": " << range
                << "; players will refuse this block\n";
    }
  }
  writeFileWhole(*output, bytes);
  return 0;
}

}  // namespace vxa::tool
