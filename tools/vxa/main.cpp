// vxa: turns .vxa movie streams into a readable JSON source and back.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "json_printer.h"
#include "movie/format/block_encoder.h"
#include "movie/format/range_check.h"
#include "movie/format/stream.h"
#include "source_error.h"
#include "source_reader.h"
#include "source_writer.h"

namespace {

using vxa::tool::Json;

constexpr const char* kUsage =
    "usage: vxa build SOURCE.json -o MOVIE.vxa\n"
    "       vxa dump MOVIE.vxa [-o SOURCE.json]\n"
    "       vxa --help\n"
    "\n"
    "build  writes the movie stream that a JSON source describes\n"
    "dump   prints a movie stream as a JSON source (to standard output unless -o\n"
    "       is given); building the dump gives back the same bytes\n"
    "\n"
    "Errors name the JSON path (e.g. blocks[3].groups[0].objects[2].left) or the\n"
    "block and byte offset, and leave no output file behind. The source form is\n"
    "described in docs/vxa-source.md.\n";

// Exit statuses: 1 for bad input, 2 for a wrong command line.
struct Failure {
  int status;
  std::string message;
};

[[noreturn]] void fail(const std::string& message) { throw Failure{1, message}; }
[[noreturn]] void usageError(const std::string& message) {
  throw Failure{2, message + " (see vxa --help)"};
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path + ": cannot read: " + std::strerror(errno));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) fail(path + ": cannot read: " + std::strerror(errno));
  return bytes;
}

// Writes beside the target and renames, so a failure never leaves a partial file.
void writeFileWhole(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) fail(path + ": cannot write: " + std::strerror(errno));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      const std::string reason = std::strerror(errno);
      std::remove(temporary.c_str());
      fail(path + ": cannot write: " + reason);
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::remove(temporary.c_str());
    fail(path + ": cannot write: " + error.message());
  }
}

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
      if (!keys.back().insert(key).second) {
        throw vxa::tool::SourceError("duplicate key \"" + key + "\"");
      }
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
  } catch (const vxa::tool::SourceError& e) {
    fail(path + ": " + e.what());
  }
}

void build(const std::string& sourcePath, const std::string& outputPath) {
  const Json source = parseSource(sourcePath, readFile(sourcePath));
  vxa::Stream stream;
  try {
    stream = vxa::tool::readSource(source);
  } catch (const vxa::tool::SourceError& e) {
    fail(sourcePath + ": " + e.what());
  }

  std::vector<uint8_t> bytes;
  try {
    vxa::encodeHeader(stream.header, bytes);
  } catch (const std::invalid_argument& e) {
    fail(sourcePath + ": header: " + e.what());
  }
  for (size_t i = 0; i < stream.blocks.size(); ++i) {
    const std::string path = "blocks[" + std::to_string(i) + "]";
    try {
      vxa::encodeBlock(stream.blocks[i], stream.header.layout, bytes);
    } catch (const std::invalid_argument& e) {
      fail(sourcePath + ": " + path + ": " + e.what());
    }
    // Such a block is valid to store (tests of players need it) but a player refuses it.
    const std::string range =
        vxa::checkRanges(stream.blocks[i], stream.header.frameCount, stream.header.groupCount);
    if (!range.empty()) {
      std::cerr << "vxa: warning: " << sourcePath << ": " << path << ": " << range
                << "; players will refuse this block\n";
    }
  }
  writeFileWhole(outputPath, std::string(bytes.begin(), bytes.end()));
}

void dump(const std::string& moviePath, const std::optional<std::string>& outputPath) {
  const std::string raw = readFile(moviePath);
  vxa::Stream stream;
  std::string error;
  if (!vxa::decodeStream(std::vector<uint8_t>(raw.begin(), raw.end()), stream, error)) {
    fail(moviePath + ": " + error);
  }
  const std::string text = vxa::tool::printJson(vxa::tool::writeSource(stream));
  if (outputPath) {
    writeFileWhole(*outputPath, text);
  } else {
    std::cout << text;
  }
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) usageError("no command given");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command != "build" && command != "dump") usageError("unknown command \"" + command + "\"");

  std::optional<std::string> input;
  std::optional<std::string> output;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 == args.size()) usageError("-o needs a file name");
      if (output) usageError("-o given twice");
      output = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      usageError("unknown option \"" + args[i] + "\"");
    } else if (input) {
      usageError("more than one input file given");
    } else {
      input = args[i];
    }
  }
  if (!input) usageError(command + " needs an input file");
  if (command == "build") {
    if (!output) usageError("build needs -o MOVIE.vxa");
    build(*input, *output);
  } else {
    dump(*input, output);
  }
  return 0;
}

// Keeps every message on one line, whatever a library put into it.
std::string oneLine(std::string message) {
  for (char& c : message) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return message;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Failure& failure) {
    std::cerr << "vxa: " << oneLine(failure.message) << "\n";
    return failure.status;
  } catch (const std::exception& e) {
    std::cerr << "vxa: " << oneLine(e.what()) << "\n";
    return 1;
  }
}
